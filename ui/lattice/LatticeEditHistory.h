#pragma once

#include "core/lattice/Lattice.h"
#include "core/lattice/UndoHistory.h"
#include "ui/lattice/LatticeDocument.h"

#include <optional>

namespace tv {

// What an edit history works on: the window's lattice and document.
class LatticeEditTarget {
public:
    virtual ~LatticeEditTarget() = default;
    virtual const Lattice& lattice() const = 0;
    virtual const LatticeDocument& document() const = 0;
    // Puts a kept lattice back, with its document when the step kept one.
    virtual void restoreEdit(Lattice lattice, const std::optional<LatticeDocument>& document) = 0;
    // Undo and Redo are greyed while there is nothing to undo or redo.
    virtual void editHistoryChanged(bool canUndo, bool canRedo) = 0;
};

// Undo and redo of a lattice window's changes: element properties and additions, New and the
// layout style. Each step keeps the whole lattice from before the change; a New keeps the
// file the window named as well, so that undoing it gives the file back its caption and its
// "changed since saved" state. Whether the lattice counts as changed is always worked out
// against what was last saved, so undoing back to it counts as unchanged.
class LatticeEditHistory {
public:
    struct State {
        Lattice lattice;
        std::optional<LatticeDocument> document;
        bool operator==(const State&) const = default;
    };

    // The element count that all kept steps may hold together, about 100 MB: a few steps of
    // the largest lattices, the full depth of ordinary ones.
    static constexpr std::size_t elementBudget = 1'000'000;

    explicit LatticeEditHistory(LatticeEditTarget& target);

    // The window's state now; `withDocument` for a change that replaces the document.
    State capture(bool withDocument) const;
    // After a change: keeps `before` as a step unless the change changed nothing.
    void record(State before);
    // Forgets every step (a file was opened).
    void clear();

    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    void undo();
    void redo();

private:
    void restore(State state);
    void updateActions();

    LatticeEditTarget& target_;
    UndoHistory<State> history_;
};

}  // namespace tv
