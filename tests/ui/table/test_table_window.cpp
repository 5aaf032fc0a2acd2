#include "core/lattice/Lattice.h"
#include "platform/qt/DialogUnits.h"
#include "ui/table/TableWindow.h"

#include <QHeaderView>
#include <QPointer>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace tv {
namespace {

QStringList rowTexts(const QTreeWidget* list, int row)
{
    QStringList texts;
    const QTreeWidgetItem* item = list->topLevelItem(row);
    for (int c = 0; c < list->columnCount(); ++c)
        texts.append(item ? item->text(c) : QString());
    return texts;
}

std::string rowLine(const QTreeWidget* list, int row)
{
    return rowTexts(list, row).join(" | ").toStdString();
}

// The default scale's rows, cells joined by " | ", worked out by hand from the ratios and
// their plot positions.
const char* const defaultScaleRows[12] = {
    "1:1 | 0.000 | 0 0 0 0 0 | -nan | 0.000 | 1 | 1 | 1 | 60 | 8192 | 64 | 0 | -",
    "16:15 | 111.731 | -1 -1 0 0 0 | 464.032161 | 7.907 | 5 | 1 | 5 | 61 | 8673 | 67 | 97 | -",
    "9:8 | 203.910 | 2 0 0 0 0 | -nan | 6.170 | 3 | 3 | 1 | 62 | 8352 | 65 | 32 | -",
    "6:5 | 315.641 | 1 -1 0 0 0 | -nan | 4.907 | 5 | 3 | 5 | 63 | 8833 | 69 | 1 | -",
    "5:4 | 386.314 | 0 1 0 0 0 | 560.932401 | 4.322 | 5 | 5 | 1 | 63 | 11727 | 91 | 79 | -",
    "4:3 | 498.045 | -1 0 0 0 0 | -nan | 3.585 | 3 | 1 | 3 | 64 | 12208 | 95 | 48 | -",
    "7:5 | 582.512 | 0 -1 1 0 0 | 921.120492 | 5.129 | 7 | 7 | 5 | 65 | 11572 | 90 | 52 | -",
    "3:2 | 701.955 | 1 0 0 0 0 | -nan | 2.585 | 3 | 3 | 1 | 67 | 8272 | 64 | 80 | -",
    "8:5 | 813.686 | 0 -1 0 0 0 | -nan | 5.322 | 5 | 1 | 5 | 68 | 8753 | 68 | 49 | -",
    "5:3 | 884.359 | -1 1 0 0 0 | 461.000000 | 3.907 | 5 | 5 | 3 | 68 | 11647 | 90 | 127 | -",
    "16:9 | 996.090 | -2 0 0 0 0 | 174.000000 | 7.170 | 3 | 1 | 3 | 69 | 12128 | 94 | 96 | -",
    "15:8 | 1088.269 | 1 1 0 0 0 | 646.382583 | 6.907 | 5 | 5 | 1 | 70 | 11807 | 92 | 31 | -",
};

TEST(TableWindowTest, TitleKeepsWhatPrecedesTheFirstLatticeSuffix)
{
    EXPECT_EQ(TableWindow::titleFor("Untitled - Lattice"), "Untitled - Table");
    EXPECT_EQ(TableWindow::titleFor("Scale - Lattice"), "Scale - Table");
    EXPECT_EQ(TableWindow::titleFor("a - Lattice - Lattice"), "a - Table");
    EXPECT_EQ(TableWindow::titleFor("Scale"), " - Table");
    EXPECT_EQ(TableWindow::titleFor("- Lattice"), " - Table");
    // Whatever stands before "- Lattice" loses one character, blank or not.
    EXPECT_EQ(TableWindow::titleFor("Scale- Lattice"), "Scal - Table");
}

TEST(TableWindowTest, DefaultScaleRowsWithThirteenLeftAlignedColumns)
{
    Lattice lattice;
    lattice.loadDefaultScale();
    lattice.setOctave(7, 2);  // the table ignores the element's octave
    auto* table = new TableWindow(lattice, "Untitled - Lattice");
    QPointer<TableWindow> guard(table);
    EXPECT_EQ(table->windowTitle(), "Untitled - Table");
    const DialogUnits units(DialogUnits::dialogFont());
    EXPECT_EQ(table->size(), units.size(409, 258));
    EXPECT_EQ(table->minimumSize(), table->maximumSize());
    EXPECT_FALSE(table->isModal());
    EXPECT_EQ(table->list()->geometry(), units.rect(7, 7, 395, 244));
    EXPECT_EQ(table->focusWidget(), table->list());

    const QTreeWidget* list = table->list();
    ASSERT_EQ(list->columnCount(), 13);
    const QStringList titles{"Ratio",    "Cents",    "Exponents",    "Complexity", "Tenney height",
                             "Limit",    "OLimit",   "ULimit",       "Note",       "Bend",
                             "Bend MSB", "Bend LSB", "Higher primes"};
    for (int c = 0; c < 13; ++c) {
        EXPECT_EQ(list->headerItem()->text(c), titles[c]);
        // The usual width; no title is cut.
        const int width = list->header()->sectionSize(c);
        if (c != 4 && c != 12) {
            EXPECT_EQ(width, 75) << c;
        }
        EXPECT_GE(width, list->header()->sectionSizeHint(c)) << c;
    }
    EXPECT_TRUE(list->header()->defaultAlignment() & Qt::AlignLeft);

    // Every row is the element of the same index, cell for cell and column for column.
    ASSERT_EQ(list->topLevelItemCount(), 12);
    for (int j = 0; j < 12; ++j)
        EXPECT_EQ(rowLine(list, j), defaultScaleRows[j]);
    EXPECT_TRUE(list->topLevelItem(7)->textAlignment(10) & Qt::AlignLeft);

    table->close();  // a closed table is deleted
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

TEST(TableWindowTest, CentsOnlyElementShowsZeroRatioAndSoundsByItsCents)
{
    Lattice lattice;
    TableWindow empty(lattice, "Scale - Lattice");
    EXPECT_EQ(empty.windowTitle(), "Scale - Table");
    EXPECT_EQ(empty.list()->columnCount(), 13);
    EXPECT_EQ(empty.list()->topLevelItemCount(), 0);

    lattice.addCents("below", -50.0);
    lattice.addCents("above", 386.3137);
    TableWindow table(lattice, "Scale - Lattice");
    ASSERT_EQ(table.list()->topLevelItemCount(), 2);
    const QStringList below = rowTexts(table.list(), 0);
    EXPECT_EQ(below.mid(0, 2), (QStringList{"0:0", "-50.000"}));
    EXPECT_EQ(below.mid(4), (QStringList{"-", "1", "1", "1", "60", "6145", "48", "1", "-"}));
    const QStringList above = rowTexts(table.list(), 1);
    EXPECT_EQ(above[1], "386.314");
    EXPECT_EQ(above.mid(8, 4), (QStringList{"63", "11727", "91", "79"}));
}

TEST(TableWindowTest, IsASnapshotThatOutlivesTheLattice)
{
    auto lattice = std::make_unique<Lattice>();
    lattice->loadDefaultScale();
    TableWindow table(*lattice, "Untitled - Lattice");

    lattice->setNumerator(7, 5);
    lattice->setDenominator(7, 4);
    lattice->placeRatio(*lattice->element(7), 5, 4);
    lattice->addRatio("septimal", 7, 4);
    EXPECT_EQ(table.list()->topLevelItemCount(), 12);
    EXPECT_EQ(rowLine(table.list(), 7), defaultScaleRows[7]);

    lattice.reset();
    table.show();
    table.list()->scrollToBottom();
    QTest::qWait(1);
    EXPECT_EQ(rowLine(table.list(), 7), defaultScaleRows[7]);
    EXPECT_EQ(rowLine(table.list(), 11), defaultScaleRows[11]);
}

TEST(TableWindowTest, OpensModelessCentredOnItsLatticeWindow)
{
    QWidget latticeWindow;
    latticeWindow.setGeometry(100, 80, 900, 700);
    latticeWindow.show();
    Lattice lattice;
    lattice.loadDefaultScale();
    auto* table = new TableWindow(lattice, "Untitled - Lattice", &latticeWindow);
    table->show();
    EXPECT_TRUE(table->isWindow());
    EXPECT_FALSE(table->isModal());
    EXPECT_EQ(table->geometry().center(), latticeWindow.geometry().center());
    // It belongs to the lattice window and goes with it.
    EXPECT_EQ(table->parentWidget(), &latticeWindow);
}

}  // namespace
}  // namespace tv
