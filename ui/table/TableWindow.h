#pragma once

#include <QDialog>

class QTreeWidget;

namespace tv {

class Lattice;

// A modeless list of a lattice's elements: ratio, cents, exponents, complexity, limits, and
// the MIDI note and bend that sound each one. It is a snapshot, filled once when it opens and
// keeping nothing of the lattice; opening another table shows later changes. It goes with its
// parent lattice window, and is deleted when the user closes it.
class TableWindow : public QDialog {
    Q_OBJECT
public:
    TableWindow(const Lattice& lattice, const QString& latticeWindowTitle,
                QWidget* parent = nullptr);

    // "Untitled - Lattice" gives "Untitled - Table"; a title without "- Lattice" (or one that
    // starts with it) gives " - Table".
    static QString titleFor(const QString& latticeWindowTitle);

    // One field per control of the window.
    struct Controls {
        QTreeWidget* list = nullptr;
    };
    const Controls& controls() const { return controls_; }
    QTreeWidget* list() const { return controls_.list; }

private:
    void fillTable(const Lattice& lattice);

    Controls controls_;
};

}  // namespace tv
