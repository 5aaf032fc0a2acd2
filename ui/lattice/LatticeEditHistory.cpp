#include "ui/lattice/LatticeEditHistory.h"

namespace tv {

LatticeEditHistory::LatticeEditHistory(LatticeEditTarget& target) : target_(target) {}

LatticeEditHistory::State LatticeEditHistory::capture(bool withDocument) const
{
    State state{target_.lattice(), std::nullopt};
    if (withDocument)
        state.document = target_.document();
    return state;
}

void LatticeEditHistory::record(State before)
{
    if (before == capture(before.document.has_value()))
        return;
    history_.record(std::move(before));
    history_.trimOldest(elementBudget,
                        [](const State& state) -> std::size_t { return state.lattice.count(); });
    updateActions();
}

void LatticeEditHistory::clear()
{
    history_.clear();
    updateActions();
}

void LatticeEditHistory::undo()
{
    const State* target = history_.nextUndo();
    if (!target)
        return;
    restore(*history_.undo(capture(target->document.has_value())));
}

void LatticeEditHistory::redo()
{
    const State* target = history_.nextRedo();
    if (!target)
        return;
    restore(*history_.redo(capture(target->document.has_value())));
}

void LatticeEditHistory::restore(State state)
{
    target_.restoreEdit(std::move(state.lattice), state.document);
    updateActions();
}

void LatticeEditHistory::updateActions() { target_.editHistoryChanged(canUndo(), canRedo()); }

}  // namespace tv
