#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <utility>

namespace tv {

// Undo and redo by whole states: before each change the owner records the state it had, and
// an undo swaps the state at hand for the one recorded last, keeping the state at hand for a
// redo. The oldest states go once more than `depth` are kept.
template <typename State>
class UndoHistory {
public:
    static constexpr std::size_t defaultDepth = 100;

    explicit UndoHistory(std::size_t depth = defaultDepth) : depth_(depth < 1 ? 1 : depth) {}

    // The state from before a change; whatever could be redone is gone.
    void record(State before)
    {
        undo_.push_back(std::move(before));
        if (undo_.size() > depth_)
            undo_.pop_front();
        redo_.clear();
    }

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The states an undo or a redo would go to; null when there is none.
    const State* nextUndo() const { return undo_.empty() ? nullptr : &undo_.back(); }
    const State* nextRedo() const { return redo_.empty() ? nullptr : &redo_.back(); }
    std::size_t undoCount() const { return undo_.size(); }

    // The state to go back to, `current` being kept for a redo; nothing (and `current`
    // dropped) when there is nothing to undo.
    std::optional<State> undo(State current) { return step(undo_, redo_, std::move(current)); }
    // The state an undo left, `current` being kept for another undo.
    std::optional<State> redo(State current) { return step(redo_, undo_, std::move(current)); }

    // Drops the oldest undo states while those kept cost more than `budget` together, by
    // `cost` (State) each; the newest state always stays.
    template <typename Cost>
    void trimOldest(std::size_t budget, Cost cost)
    {
        std::size_t total = 0;
        for (const State& state : undo_)
            total += cost(state);
        while (undo_.size() > 1 && total > budget) {
            total -= cost(undo_.front());
            undo_.pop_front();
        }
    }

    void clear()
    {
        undo_.clear();
        redo_.clear();
    }

private:
    static std::optional<State> step(std::deque<State>& from, std::deque<State>& to, State current)
    {
        if (from.empty())
            return std::nullopt;
        State target = std::move(from.back());
        from.pop_back();
        to.push_back(std::move(current));
        return target;
    }

    std::size_t depth_;
    std::deque<State> undo_;
    std::deque<State> redo_;
};

}  // namespace tv
