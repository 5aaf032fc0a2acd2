#pragma once

#include "core/lattice/ElementTableText.h"

#include <QDialog>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QTreeWidget;

namespace tv {

class Lattice;
class MessageService;

// A modeless list of a lattice's elements: ratio, cents, exponents, complexity, Tenney height,
// limits, the MIDI note and bend that sound each one, and the primes above 13. It is a
// snapshot, filled once when it opens and keeping nothing of the lattice; opening another table
// shows later changes. It goes with its parent lattice window, and is deleted when the user closes
// it. Ctrl+C copies the selected rows (all of them when none is selected) as tab-separated text
// with the column titles; the list's context menu offers that and "Export CSV...".
class TableWindow : public QDialog {
    Q_OBJECT
public:
    TableWindow(const Lattice& lattice, const QString& latticeWindowTitle,
                QWidget* parent = nullptr);
    ~TableWindow() override;

    // "Untitled - Lattice" gives "Untitled - Table"; a title without "- Lattice" (or one that
    // starts with it) gives " - Table".
    static QString titleFor(const QString& latticeWindowTitle);

    // One field per control of the window.
    struct Controls {
        QTreeWidget* list = nullptr;
    };
    const Controls& controls() const { return controls_; }
    QTreeWidget* list() const { return controls_.list; }
    QMenu* contextMenu() const { return contextMenu_; }
    QAction* copyAction() const { return copyAction_; }
    QAction* exportAction() const { return exportAction_; }

    // The selected rows in list order, or every row when none is selected.
    std::vector<ElementTableCells> chosenRows() const;
    void copyRows();
    // Asks for a file and writes every row to it as comma-separated values.
    void exportCsv();

    // Where failures are shown; the platform's message box when none is set.
    void setMessages(MessageService* messages) { messages_ = messages; }
    // The file dialog behind "Export CSV..." (tests answer it); empty when cancelled.
    std::function<QString(QWidget* parent)> chooseCsvPath;

private:
    void fillTable(const Lattice& lattice);
    void showMessage(const QString& text);

    Controls controls_;
    std::vector<ElementTableCells> rows_;
    QMenu* contextMenu_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* exportAction_ = nullptr;
    MessageService* messages_ = nullptr;
};

}  // namespace tv
