#include "LatticeFilesFixture.h"
#include "core/lattice/ScaleShapes.h"

#include "ui/lattice/RatioPropertiesDialog.h"
#include "ui/table/TableWindow.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace tv::test {
namespace {

TEST_F(LatticeFiles, OpenReadsTheScaleAndNamesTheWindowAfterTheFile)
{
    openPaths.push_back(write("major.scl", "! major.scl\r\n!\r\nJust major\r\n 3\r\n!\r\n"
                                           " 9/8\r\n 5/4\r\n 2/1\r\n"));
    window->runCommand(LatticeCommand::Open);
    EXPECT_EQ(window->windowTitle(), "major.scl - Lattice");
    EXPECT_EQ(window->files().fileName(), "major.scl");
    EXPECT_EQ(window->files().filePath(), dir.filePath("major.scl"));
    ASSERT_EQ(window->lattice().count(), 3);
    EXPECT_EQ(window->lattice().numerator(1), 5u);
    EXPECT_TRUE(messages.texts.isEmpty());

    // A cancelled dialog changes nothing.
    window->runCommand(LatticeCommand::Open);
    EXPECT_EQ(window->windowTitle(), "major.scl - Lattice");
}

TEST_F(LatticeFiles, SaveAsksForAFileOnceThenWritesToIt)
{
    window->lattice().loadDefaultScale();
    window->runCommand(LatticeCommand::Save);  // dialog cancelled: nothing written
    EXPECT_EQ(saveAsked, 1);
    EXPECT_TRUE(window->files().filePath().isEmpty());

    const QString path = dir.filePath("mine.scl");
    savePaths.push_back(path);
    window->runCommand(LatticeCommand::Save);
    EXPECT_EQ(saveAsked, 2);
    const QByteArray first = read(path);
    EXPECT_TRUE(first.startsWith("!mine.scl\r\n!\r\n"));
    EXPECT_TRUE(first.contains("\r\n 12\r\n!\r\n 1/1\r\n 16/15\r\n"));
    EXPECT_EQ(window->windowTitle(), "mine.scl - Lattice");  // the caption names the file

    window->lattice().addRatio("", 7, 4);
    window->runCommand(LatticeCommand::Save);
    EXPECT_EQ(saveAsked, 2);
    EXPECT_TRUE(read(path).endsWith(" 7/4\r\n"));
}

TEST_F(LatticeFiles, SaveAsWritesToTheChosenFile)
{
    window->lattice().addRatio("", 3, 2);
    const QString path = dir.filePath("fifth.scl");
    savePaths.push_back(path);
    window->runCommand(LatticeCommand::SaveAs);
    EXPECT_EQ(window->files().fileName(), "fifth.scl");
    EXPECT_EQ(read(path), QByteArray("!fifth.scl\r\n!\r\n\r\n  1\r\n!\r\n 3/2\r\n"));
}

TEST_F(LatticeFiles, FailedSaveIsReportedAndLeavesTheOldFile)
{
    window->lattice().addRatio("", 3, 2);
    savePaths.push_back(dir.filePath("no-such-folder/x.scl"));
    window->runCommand(LatticeCommand::SaveAs);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith("Unable to open"));
}

TEST_F(LatticeFiles, NewLoadsTheDefaultScaleAndForgetsTheFile)
{
    openPaths.push_back(write("one.scl", "! one.scl\r\n!\r\nOne\r\n1\r\n 3/2\r\n"));
    window->runCommand(LatticeCommand::Open);
    dialogs->newChoice.reset();
    window->runCommand(LatticeCommand::New);
    EXPECT_EQ(window->lattice().count(), 1);
    EXPECT_EQ(window->windowTitle(), "one.scl - Lattice");

    dialogs->newChoice = NewLatticeChoice{};
    window->runCommand(LatticeCommand::New);
    EXPECT_EQ(window->lattice().count(), 12);
    EXPECT_EQ(window->lattice().name(6), "T");
    EXPECT_EQ(window->windowTitle(), "Untitled - Lattice");
    EXPECT_TRUE(window->files().filePath().isEmpty());
    EXPECT_TRUE(window->showRatios());

    // Factors typed in the dialog are built instead of the default scale.
    dialogs->newChoice->shape = combinationProductScale("2 of 1 3 5 7").scale;
    window->runCommand(LatticeCommand::New);
    ASSERT_EQ(window->lattice().count(), 6);
    EXPECT_EQ(window->lattice().title(), "2 of 1 3 5 7 combination product set");
    EXPECT_EQ(window->windowTitle(), "Untitled - Lattice");
}

TEST_F(LatticeFiles, SaveBitmapWritesThePictureAtTheWindowsSize)
{
    window->lattice().loadDefaultScale();
    dialogs->imagePath = dir.filePath("picture.png");
    window->runCommand(LatticeCommand::SaveBitmap);
    QImage image(dialogs->imagePath);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), window->view()->size());
    bool sky = false, orange = false, yellow = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            sky |= c == QColor(135, 206, 250);
            orange |= c == QColor(255, 165, 0);
            yellow |= c == QColor(255, 255, 0);
        }
    }
    EXPECT_TRUE(sky && orange && yellow);

    dialogs->imagePath = dir.filePath("missing/picture.png");
    window->runCommand(LatticeCommand::SaveBitmap);
    EXPECT_EQ(messages.texts, QStringList{"Unable to open " + dialogs->imagePath + " for writing"});
}

TEST_F(LatticeFiles, PrintWritesOnePageAndClicksStillHitTheScreenPositions)
{
    window->lattice().loadDefaultScale();
    paint(window);
    const int fifth = indexOf(window->lattice(), 3, 2);
    const QPoint onScreen = inside(window, fifth);
    dialogs->pdfPath = dir.filePath("lattice.pdf");
    window->runCommand(LatticeCommand::Print);
    const QByteArray pdf = read(dialogs->pdfPath);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);
    EXPECT_GT(pdf.size(), 2000);
    // The document name is the PDF's title, in UTF-16.
    EXPECT_TRUE(pdf.contains(QByteArray("/Title (\xfe\xff\0O\0R\0L\0I\0X)", 19)));
    EXPECT_TRUE(messages.texts.isEmpty());
    // A press where the screen shows 3/2 still takes 3/2.
    press(window, onScreen);
    EXPECT_TRUE(window->lattice().selected(fifth));
    release(window);

    // A cancelled print dialog prints nothing.
    QFile::remove(dialogs->pdfPath);
    const QString path = dialogs->pdfPath;
    dialogs->pdfPath.clear();
    window->runCommand(LatticeCommand::Print);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(LatticeFiles, APrinterThatRefusesTheDocumentIsReported)
{
    window->lattice().loadDefaultScale();
    dialogs->pdfPath = dir.filePath("no-such-folder/lattice.pdf");
    window->runCommand(LatticeCommand::Print);
    EXPECT_EQ(messages.texts, QStringList{"Unable to start document"});
}

TEST_F(LatticeFiles, ElementPropertiesOnEmptySpaceAddsAnElement)
{
    window->pressRight(QPoint(window->view()->width() - 3, window->view()->height() - 3));
    EXPECT_EQ(window->contextElement(), -1);
    window->contextMenu()->hide();
    whenDialogOpens([](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Ratio propeties");
        auto* properties = qobject_cast<RatioPropertiesDialog*>(dialog);
        ASSERT_NE(properties, nullptr);
        properties->okButton()->click();
    });
    window->contextMenu()->actions()[0]->trigger();
    ASSERT_EQ(window->lattice().count(), 1);
    EXPECT_EQ(window->lattice().numerator(0), 1u);
    EXPECT_EQ(window->lattice().denominator(0), 1u);
}

TEST_F(LatticeFiles, ChosenPatchIsHeardWithTheNextNote)
{
    window->lattice().loadDefaultScale();
    paint(window);
    whenDialogOpens([](QDialog* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Set patch for lattice");
        dialog->accept();
    });
    window->setPatch(56);
    window->runCommand(LatticeCommand::Patch);
    EXPECT_EQ(window->patch(), 56);
    EXPECT_TRUE(capture->messages().empty());
    press(window, inside(window, indexOf(window->lattice(), 3, 2)));
    EXPECT_EQ(capture->hex().front(), "c0 38");
}

TEST_F(LatticeFiles, EachTableCommandOpensAnotherSnapshot)
{
    window->lattice().loadDefaultScale();
    window->runCommand(LatticeCommand::Table);
    window->runCommand(LatticeCommand::Table);
    const auto tables = window->findChildren<TableWindow*>();
    ASSERT_EQ(tables.size(), 2);
    EXPECT_EQ(tables[0]->windowTitle(), "Untitled - Table");
}

TEST_F(LatticeFiles, CloseStoresThePlacementLikeTheCloseBoxAndSendsNothing)
{
    window->lattice().loadDefaultScale();
    paint(window);
    press(window, inside(window, indexOf(window->lattice(), 3, 2)));
    release(window);
    ASSERT_EQ(capture->hex(), (Hex{"c0 00", "e0 50 40", "90 43 5a", "80 43 00"}));
    capture->clear();

    QPointer<LatticeWindow> closing = window;
    window->move(33, 44);
    window->runCommand(LatticeCommand::Close);
    EXPECT_TRUE(settings->value("MainWindow").value_or("").startsWith("33 44 "));
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
    window = nullptr;
    EXPECT_EQ(capture->hex(), Hex{});
}

}  // namespace
}  // namespace tv::test
