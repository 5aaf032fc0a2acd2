#include "ui/table/TableWindow.h"

#include "core/lattice/ElementTable.h"
#include "core/lattice/Lattice.h"
#include "platform/qt/DialogTemplate.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <array>

namespace tv {
namespace {

using Controls = TableWindow::Controls;

constexpr auto tableControls = controlTable<Controls>({
    {ControlSpec::Kind::List, "", 7, 7, 395, 244, &Controls::list},
});

constexpr int columnWidth = 75;

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
    controls_.list->setSelectionMode(QAbstractItemView::SingleSelection);
    controls_.list->setSelectionBehavior(QAbstractItemView::SelectRows);
    controls_.list->setUniformRowHeights(true);
    fillTable(lattice);
    controls_.list->setFocus();

    // Centred by its client area, which stays put when the window frame is added on showing.
    if (parent) {
        QRect area(QPoint(), size());
        area.moveCenter(parent->window()->geometry().center());
        setGeometry(area);
    }
}

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
    for (const char* title : elementTableTitles)
        titles.append(QString::fromUtf8(title));
    controls_.list->setColumnCount(static_cast<int>(titles.size()));
    controls_.list->setHeaderLabels(titles);
    QHeaderView* header = controls_.list->header();
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < controls_.list->columnCount(); ++column)
        header->resizeSection(column, columnWidth);

    QList<QTreeWidgetItem*> rows;
    rows.reserve(lattice.count());
    for (int j = 0; j < lattice.count(); ++j) {
        const auto cells = elementTableRow(lattice, j);
        auto* row = new QTreeWidgetItem;
        for (std::size_t column = 0; column < cells.size(); ++column) {
            row->setText(static_cast<int>(column), QString::fromStdString(cells[column]));
            row->setTextAlignment(static_cast<int>(column), Qt::AlignLeft | Qt::AlignVCenter);
        }
        rows.append(row);
    }
    controls_.list->addTopLevelItems(rows);
}

}  // namespace tv
