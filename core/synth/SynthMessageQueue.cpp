#include "core/synth/SynthMessageQueue.h"

namespace tv {

SynthMessageQueue::SynthMessageQueue(std::size_t capacity)
{
    std::size_t size = 2;
    while (size < capacity)
        size *= 2;
    mask_ = size - 1;
    cells_ = std::make_unique<Cell[]>(size);
    for (std::size_t i = 0; i < size; ++i)
        cells_[i].sequence.store(i, std::memory_order_relaxed);
}

bool SynthMessageQueue::push(std::uint32_t message)
{
    std::size_t position = writePosition_.load(std::memory_order_relaxed);
    for (;;) {
        Cell& cell = cells_[position & mask_];
        const std::size_t sequence = cell.sequence.load(std::memory_order_acquire);
        const auto lag = static_cast<std::ptrdiff_t>(sequence - position);
        if (lag == 0) {
            // The cell is free for this position: claim the position, or learn the newer one.
            if (writePosition_.compare_exchange_weak(position, position + 1,
                                                     std::memory_order_relaxed)) {
                cell.message = message;
                cell.sequence.store(position + 1, std::memory_order_release);
                return true;
            }
        } else if (lag < 0) {
            return false;  // the consumer has not yet emptied this cell: full
        } else {
            position = writePosition_.load(std::memory_order_relaxed);
        }
    }
}

bool SynthMessageQueue::pop(std::uint32_t& message)
{
    Cell& cell = cells_[readPosition_ & mask_];
    if (cell.sequence.load(std::memory_order_acquire) != readPosition_ + 1)
        return false;
    message = cell.message;
    cell.sequence.store(readPosition_ + mask_ + 1, std::memory_order_release);
    ++readPosition_;
    return true;
}

}  // namespace tv
