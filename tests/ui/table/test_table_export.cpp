#include "core/lattice/Lattice.h"
#include "support/RecordingMessageService.h"
#include "ui/table/TableWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <clocale>
#include <memory>
#include <string>

namespace tv {
namespace {

const QString header = "Ratio\tCents\tExponents\tComplexity\tTenney height\tLimit\tOLimit\tULimit\t"
                       "Note\tBend\tBend MSB\tBend LSB\tHigher primes\n";

// The default scale's rows 1 (16/15) and 9 (5/3), as the table shows them.
const QString semitone =
    "16:15\t111.731\t-1 -1 0 0 0\t464.032161\t7.907\t5\t1\t5\t61\t8673\t67\t97\t-\n";
const QString sixth =
    "5:3\t884.359\t-1 1 0 0 0\t461.000000\t3.907\t5\t5\t3\t68\t11647\t90\t127\t-\n";

struct TableExport : ::testing::Test {
    Lattice lattice;
    std::unique_ptr<TableWindow> table;
    test::RecordingMessageService messages;
    QTemporaryDir dir;

    void SetUp() override
    {
        lattice.loadDefaultScale();
        table = std::make_unique<TableWindow>(lattice, "Untitled - Lattice");
        table->setAttribute(Qt::WA_DeleteOnClose, false);
        table->setMessages(&messages);
        table->show();
        table->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(table.get()));
    }

    QString copied()
    {
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(table->list(), Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text();
    }
};

TEST_F(TableExport, CtrlCCopiesTheSelectedRowsOrAllWithTheTitles)
{
    const QString all = copied();
    EXPECT_TRUE(all.startsWith(header + "1:1\t0.000\t"));
    EXPECT_EQ(all.count('\n'), 13);
    EXPECT_TRUE(all.contains(semitone) && all.contains(sixth));
    EXPECT_TRUE(all.endsWith("\t6.907\t5\t5\t1\t70\t11807\t92\t31\t-\n"));

    // Rows come in table order whatever order they were chosen in.
    table->list()->topLevelItem(9)->setSelected(true);
    table->list()->topLevelItem(1)->setSelected(true);
    EXPECT_EQ(copied(), header + semitone + sixth);
    // The context menu copies the same.
    ASSERT_EQ(table->contextMenu()->actions().size(), 2);
    EXPECT_EQ(table->contextMenu()->actions()[1]->text(), "&Export CSV...");
    QGuiApplication::clipboard()->clear();
    table->contextMenu()->actions()[0]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), header + semitone + sixth);
}

TEST_F(TableExport, CsvHasDecimalPointsUnderADecimalCommaLocale)
{
    const std::string oldLocale = std::setlocale(LC_ALL, nullptr);
    const QLocale oldDefault;
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 is missing";
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Lattice cents;
    cents.addRatio("", 3, 2);
    cents.addCents("", -12.5);
    TableWindow german(cents, "Untitled - Lattice");
    german.setAttribute(Qt::WA_DeleteOnClose, false);
    german.setMessages(&messages);
    const QString path = dir.filePath("table.csv");
    german.chooseCsvPath = [&](QWidget*) { return path; };
    german.exportAction()->trigger();
    std::setlocale(LC_ALL, oldLocale.c_str());
    QLocale::setDefault(oldDefault);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Ratio,Cents,Exponents,Complexity,Tenney height,Limit,OLimit,ULimit,Note,"
                        "Bend,Bend MSB,Bend LSB,Higher primes\r");
    EXPECT_TRUE(lines[1].startsWith("3:2,701.955,1 0 0 0 0,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(",2.585,3,3,1,")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith("0:0,-12.500,0 0 0 0 0,")) << lines[2].toStdString();
    EXPECT_EQ(lines[3], "");
    EXPECT_TRUE(messages.texts.isEmpty());

    // A cancelled dialog writes nothing; a folder that is not there is reported.
    german.chooseCsvPath = [](QWidget*) { return QString(); };
    german.exportCsv();
    const QString missing = dir.filePath("missing/table.csv");
    german.chooseCsvPath = [&](QWidget*) { return missing; };
    german.exportCsv();
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("Unable to open " + missing + ": "))
        << messages.texts[0].toStdString();
}

}  // namespace
}  // namespace tv
