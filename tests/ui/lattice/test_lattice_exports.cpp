#include "LatticeFilesFixture.h"

#include "core/lattice/ScalaFile.h"
#include "core/lattice/Scale.h"
#include "ui/lattice/RecentFiles.h"
#include "ui/table/TableWindow.h"

#include "support/Needs.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QUrl>
#include <QXmlStreamReader>

namespace tv::test {
namespace {

struct LatticeExports : LatticeFiles {
    // A small scale file of its own name.
    QString scale(const QString& name)
    {
        return write(name, "! " + name.toUtf8() + "\n!\n" + name.toUtf8() + "\n1\n 3/2\n");
    }
    QMenu* recentMenu() const
    {
        QMenu* menu = window->menus().submenu(LatticeCommand::RecentFiles);
        window->files().fillRecentMenu(menu);
        return menu;
    }
    // Drags `paths` over the window and drops them there; true when the window took the drag.
    bool drop(const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        const QPoint at(50, 50);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(window, &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &dropped);
        QApplication::processEvents();
        return enter.isAccepted();
    }
};

TEST_F(LatticeExports, RecentFilesListTheLastEightMostRecentFirst)
{
    QStringList paths;
    for (int i = 0; i < 10; ++i) {
        paths << scale(QStringLiteral("s%1.scl").arg(i));
        openPaths.push_back(paths.back());
        window->runCommand(LatticeCommand::Open);
    }
    QStringList expected;
    for (int i = 9; i >= 2; --i)
        expected << paths[i];
    EXPECT_EQ(RecentFiles(*settings).paths(), expected);

    // Opening a listed file moves it up; saving under a new name lists that name.
    openPaths.push_back(paths[4]);
    window->runCommand(LatticeCommand::Open);
    savePaths.push_back(dir.filePath("saved.scl"));
    window->files().saveAs();
    expected.removeAll(paths[4]);
    expected.prepend(paths[4]);
    expected.prepend(dir.filePath("saved.scl"));
    expected.removeLast();
    EXPECT_EQ(RecentFiles(*settings).paths(), expected);
    // The list outlives the window: another store on the same file reads it.
    EXPECT_EQ(RecentFiles(*SettingsStore::fileStore(dir.filePath("s.ini"))).paths(), expected);

    // The menu numbers them; choosing one opens it.
    QMenu* menu = recentMenu();
    ASSERT_EQ(menu->actions().size(), 8);
    EXPECT_EQ(menu->actions()[1]->text(), "&2 " + QDir::toNativeSeparators(paths[4]));
    EXPECT_TRUE(menu->menuAction()->isEnabled());
    menu->actions()[3]->trigger();
    EXPECT_EQ(window->windowTitle(), "s8.scl - Lattice");
    EXPECT_EQ(RecentFiles(*settings).paths().front(), paths[8]);
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(LatticeExports, AMissingRecentFileIsReportedAndLeavesTheList)
{
    EXPECT_FALSE(recentMenu()->menuAction()->isEnabled());
    const QString kept = scale("kept.scl");
    const QString gone = scale("gone & lost.scl");
    for (const QString& path : {kept, gone}) {
        openPaths.push_back(path);
        window->runCommand(LatticeCommand::Open);
    }
    ASSERT_TRUE(QFile::remove(gone));
    QMenu* menu = recentMenu();
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(),
              "&1 " + QDir::toNativeSeparators(gone).replace("&", "&&"));
    menu->actions()[0]->trigger();
    const std::string failure = parseScalaFile(gone.toStdString()).message;
    ASSERT_FALSE(failure.empty());
    EXPECT_EQ(messages.texts, QStringList{QString::fromStdString(failure)});
    EXPECT_EQ(window->windowTitle(), "gone & lost.scl - Lattice");  // the lattice stays
    EXPECT_EQ(RecentFiles(*settings).paths(), QStringList{kept});
}

TEST_F(LatticeExports, ADroppedScalaFileOpensAfterTheQuestionAboutChanges)
{
    const QString path = scale("dropped.SCL");
    EXPECT_FALSE(drop({dir.filePath("notes.txt")}));
    EXPECT_FALSE(drop({}));
    window->runCommand(LatticeCommand::New);
    window->lattice().addRatio("", 7, 4);
    messages.answers = {MessageService::Answer::Cancel};
    EXPECT_TRUE(drop({dir.filePath("notes.txt"), path}));
    EXPECT_EQ(messages.texts, QStringList{"Save changes to Untitled?"});
    EXPECT_EQ(window->lattice().count(), 13);

    messages.answers = {MessageService::Answer::No};
    EXPECT_TRUE(drop({path}));
    EXPECT_EQ(window->windowTitle(), "dropped.SCL - Lattice");
    EXPECT_EQ(window->lattice().count(), 1);
    EXPECT_EQ(RecentFiles(*settings).paths(), QStringList{path});
}

TEST_F(LatticeExports, PdfIsOneVectorPageOfThePicturesSize)
{
    window->lattice().loadDefaultScale();
    dialogs->exportPdfPath = dir.filePath("lattice.pdf");
    window->runCommand(LatticeCommand::ExportPdf);
    const QByteArray pdf = read(dialogs->exportPdfPath);
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);
    // Drawn, not pasted in as a picture.
    EXPECT_FALSE(pdf.contains("/Subtype /Image"));
    EXPECT_GT(pdf.size(), 2000);
    // The page is the picture's size in whole points.
    const QSizeF size = QSizeF(window->view()->size()) * 72.0 / window->view()->logicalDpiX();
    const auto box = QRegularExpression(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])")
                         .match(QString::fromLatin1(pdf));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_NEAR(box.captured(1).toDouble(), size.width(), 0.5);
    EXPECT_NEAR(box.captured(2).toDouble(), size.height(), 0.5);
    // Rendered at the screen's resolution, the page is the picture from its top-left corner.
    QProcess render;
    render.start("pdftoppm", {"-r", QString::number(window->view()->logicalDpiX()), "-png",
                              "-singlefile", dialogs->exportPdfPath, dir.filePath("page")});
    TV_NEEDS(render.waitForFinished(60000) && render.exitCode() == 0,
             "pdftoppm (Debian package poppler-utils), to look at the page");
    const QImage page(dir.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_LE(std::abs(page.width() - window->view()->width()), 1);
    EXPECT_EQ(page.pixelColor(0, 0), QColor(135, 206, 250));
    const QImage picture = window->view()->grab().toImage();
    int orange = 0;
    for (int x = 0; x < page.width() && x < picture.width(); ++x) {
        for (int y = 0; y < page.height() && y < picture.height(); ++y)
            orange += page.pixelColor(x, y) == QColor(255, 165, 0);
    }
    EXPECT_GT(orange, 100);
    EXPECT_TRUE(messages.texts.isEmpty());

    dialogs->exportPdfPath = dir.filePath("missing/lattice.pdf");
    window->runCommand(LatticeCommand::ExportPdf);
    EXPECT_EQ(messages.texts,
              QStringList{"Unable to open " + dialogs->exportPdfPath + " for writing"});
}

TEST_F(LatticeExports, SvgParsesAndShowsTheLattice)
{
    window->lattice().loadDefaultScale();
    dialogs->exportSvgPath = dir.filePath("lattice.svg");
    window->runCommand(LatticeCommand::ExportSvg);
    const QByteArray svg = read(dialogs->exportSvgPath);
    QXmlStreamReader xml(svg);
    int elements = 0;
    QString root;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && elements++ == 0)
            root = xml.name().toString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(root, "svg");
    EXPECT_GT(elements, 20);
    // The sky blue background and the orange of the 3 limit.
    EXPECT_TRUE(svg.contains("#87cefa"));
    EXPECT_TRUE(svg.contains("#ffa500"));
    QSvgRenderer renderer(svg);
    EXPECT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(QPoint(), window->view()->size()));
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(LatticeExports, FurtherTablesOpenOffsetFromTheOpenOnes)
{
    window->lattice().loadDefaultScale();
    for (int i = 0; i < 3; ++i)
        window->runCommand(LatticeCommand::Table);
    auto tables = window->findChildren<TableWindow*>();
    ASSERT_EQ(tables.size(), 3);
    EXPECT_EQ(tables[0]->geometry().center(), window->geometry().center());
    EXPECT_EQ(tables[1]->pos() - tables[0]->pos(), QPoint(24, 24));
    EXPECT_EQ(tables[2]->pos() - tables[0]->pos(), QPoint(48, 48));
    // A closed table's place is taken again.
    const QPoint first = tables[0]->pos();
    delete tables[0];
    window->runCommand(LatticeCommand::Table);
    tables = window->findChildren<TableWindow*>();
    ASSERT_EQ(tables.size(), 3);
    EXPECT_EQ(tables[2]->pos(), first);
}

TEST(LatticeFileDialogTitles, EachSaveDialogSaysWhatItSaves)
{
    SystemFileDialogs dialogs;
    const std::pair<QString (SystemFileDialogs::*)(), const char*> cases[] = {
        {&SystemFileDialogs::saveImagePath, "Save Bitmap"},
        {&SystemFileDialogs::savePdfPath, "Export PDF"},
        {&SystemFileDialogs::saveSvgPath, "Export SVG"},
    };
    for (const auto& [ask, title] : cases) {
        QString shown;
        whenDialogOpens([&shown](QDialog* dialog) {
            shown = dialog->windowTitle();
            dialog->reject();
        });
        EXPECT_EQ((dialogs.*ask)(), QString());
        EXPECT_EQ(shown, title);
    }
}

}  // namespace
}  // namespace tv::test
