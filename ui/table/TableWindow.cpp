#include "ui/table/TableWindow.h"

#include "core/lattice/ElementTable.h"
#include "core/lattice/Lattice.h"
#include "platform/qt/DialogTemplate.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <array>

namespace tv {
namespace {

constexpr std::array tableControls{
    ControlSpec{ControlSpec::Kind::List, "", 7, 7, 395, 244},
};

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

    list_ = static_cast<QTreeWidget*>(createControls(this, units, tableControls)[0]);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setUniformRowHeights(true);
    fillTable(lattice);
    list_->setFocus();

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
    list_->setColumnCount(static_cast<int>(titles.size()));
    list_->setHeaderLabels(titles);
    QHeaderView* header = list_->header();
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < list_->columnCount(); ++column)
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
    list_->addTopLevelItems(rows);
}

}  // namespace tv
