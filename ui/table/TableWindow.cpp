#include "ui/table/TableWindow.h"

#include "core/lattice/ElementTable.h"
#include "core/lattice/Lattice.h"
#include "core/pitch/AtomicFile.h"
#include "platform/qt/DialogTemplate.h"
#include "platform/qt/MessageService.h"

#include <algorithm>

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTreeWidget>

#include <array>
#include <string>
#include <system_error>

namespace tv {
namespace {

using Controls = TableWindow::Controls;

constexpr auto tableControls = controlTable<Controls>({
    {ControlSpec::Kind::List, "", 7, 7, 395, 244, &Controls::list},
});

constexpr int columnWidth = 75;

QString askCsvPath(QWidget* parent)
{
    QFileDialog dialog(parent, QStringLiteral("Export CSV"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("CSV files (*.csv *.CSV)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

TableWindow::TableWindow(const Lattice& lattice, const QString& latticeWindowTitle, QWidget* parent)
    : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFont(DialogUnits::dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(409, 258));
    setWindowTitle(titleFor(latticeWindowTitle));

    controls_ = createControls(this, units, tableControls);
    // Rows are chosen for copying: Shift and Ctrl add to the selection.
    controls_.list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    controls_.list->setSelectionBehavior(QAbstractItemView::SelectRows);
    controls_.list->setUniformRowHeights(true);
    fillTable(lattice);
    controls_.list->setFocus();

    chooseCsvPath = askCsvPath;
    copyAction_ = new QAction(QStringLiteral("&Copy"), this);
    copyAction_->setShortcut(QKeySequence::Copy);
    addAction(copyAction_);
    connect(copyAction_, &QAction::triggered, this, &TableWindow::copyRows);
    exportAction_ = new QAction(QStringLiteral("&Export CSV..."), this);
    connect(exportAction_, &QAction::triggered, this, &TableWindow::exportCsv);
    contextMenu_ = new QMenu(this);
    contextMenu_->addAction(copyAction_);
    contextMenu_->addAction(exportAction_);
    controls_.list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(controls_.list, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        contextMenu_->popup(controls_.list->viewport()->mapToGlobal(at));
    });

    // Centred by its client area, which stays put when the window frame is added on showing.
    if (parent) {
        QRect area(QPoint(), size());
        area.moveCenter(parent->window()->geometry().center());
        setGeometry(area);
    }
}

TableWindow::~TableWindow() = default;

QString TableWindow::titleFor(const QString& latticeWindowTitle)
{
    // The blank before "- Lattice" goes too.
    const qsizetype at = latticeWindowTitle.indexOf(QStringLiteral("- Lattice"));
    const QString kept = at > 0 ? latticeWindowTitle.left(at - 1) : QString();
    return kept + QStringLiteral(" - Table");
}

void TableWindow::fillTable(const Lattice& lattice)
{
    QStringList titles;
    for (const char* title : tableWindowTitles)
        titles.append(QString::fromUtf8(title));
    controls_.list->setColumnCount(static_cast<int>(titles.size()));
    controls_.list->setHeaderLabels(titles);
    QHeaderView* header = controls_.list->header();
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The columns added after the first eleven ("Tenney height", "Higher primes") are as wide as
    // their titles, which the usual width would cut.
    for (int column = 0; column < controls_.list->columnCount(); ++column)
        header->resizeSection(column, std::max(columnWidth, header->sectionSizeHint(column)));

    QList<QTreeWidgetItem*> rows;
    rows.reserve(lattice.count());
    rows_.reserve(lattice.count());
    for (int j = 0; j < lattice.count(); ++j) {
        const auto& cells = rows_.emplace_back(tableWindowRow(lattice, j));
        auto* row = new QTreeWidgetItem;
        for (std::size_t column = 0; column < cells.size(); ++column) {
            row->setText(static_cast<int>(column), QString::fromStdString(cells[column]));
            row->setTextAlignment(static_cast<int>(column), Qt::AlignLeft | Qt::AlignVCenter);
        }
        rows.append(row);
    }
    controls_.list->addTopLevelItems(rows);
}

std::vector<ElementTableCells> TableWindow::chosenRows() const
{
    std::vector<ElementTableCells> chosen;
    const QTreeWidget* list = controls_.list;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (list->topLevelItem(row)->isSelected())
            chosen.push_back(rows_[static_cast<std::size_t>(row)]);
    }
    return chosen.empty() ? rows_ : chosen;
}

void TableWindow::copyRows()
{
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(elementTableTabText(chosenRows())));
}

void TableWindow::exportCsv()
{
    const QString path = chooseCsvPath(this);
    if (path.isEmpty())
        return;
    int error = 0;
    const AtomicWriteStatus status =
        writeFileAtomically(path.toStdString(), elementTableCsv(rows_), {}, &error);
    if (status == AtomicWriteStatus::ok)
        return;
    std::string text =
        (status == AtomicWriteStatus::openFailed ? "Unable to open " : "Unable to write ") +
        path.toStdString();
    if (error != 0)
        text += ": " + std::generic_category().message(error);
    showMessage(QString::fromStdString(text));
}

void TableWindow::showMessage(const QString& text)
{
    if (messages_) {
        messages_->showMessage(text);
        return;
    }
    DialogMessageService dialogs;
    dialogs.showMessage(text);
}

}  // namespace tv
