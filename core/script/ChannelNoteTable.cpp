#include "core/script/ChannelNoteTable.h"

namespace tv {

ChannelNoteTable::ChannelNoteTable()
{
    for (auto& entry : entries_)
        entry.store(none, std::memory_order_relaxed);
}

std::uint16_t ChannelNoteTable::exchange(int channel, std::uint16_t note)
{
    return entries_[static_cast<std::size_t>(channel & 15)].exchange(note,
                                                                     std::memory_order_relaxed);
}

std::uint16_t ChannelNoteTable::note(int channel) const
{
    return entries_[static_cast<std::size_t>(channel & 15)].load(std::memory_order_relaxed);
}

}  // namespace tv
