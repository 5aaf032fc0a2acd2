// The About dialog: the help page it writes into the cache folder and shows, and the guide.

#include "ui/help/AboutDialog.h"
#include "ui/help/HelpPage.h"
#include "ui/help/UserGuideWindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <string_view>

namespace tv {
namespace {

// The page, line by line as it must be; line 7 runs on into line 8.
const QByteArray expectedPage =
    QByteArray("<HTML>\n") + "  <BODY>\n" + "  <H1>Tonalvane</H1>\n" +
    "  <H4>Version " TONALVANE_VERSION ", " TONALVANE_VERSION_DATE "</H4>\n" +
    "  <H3>The Tonalvane developers</H3>\n" +
    "\t <H3>with everyone who sent a scale, a report or a fix</H3>\n" +
    "  Mail comments and suggestions to " +
    (std::string_view(TONALVANE_CONTACT_ADDRESS).empty()
         ? QByteArray("    The Tonalvane developers<BR>\n")
         : "    <A HREF=\"mailto:" TONALVANE_CONTACT_ADDRESS
           "\">The Tonalvane developers</A><BR>\n") +
    "  <H2>Links</H2>\n" +
    "  <A HREF=\"https://www.huygens-fokker.org/scala/downloads.html#scales\" "
    "TARGET=\"_blank\">The Scala scale archive</A><BR>\n" +
    "  <A HREF=\"https://en.wikipedia.org/wiki/Just_intonation\" TARGET=\"_blank\">Just "
    "intonation (Wikipedia)</A><BR>\n" +
    "  <A HREF=\"https://en.xen.wiki/\" TARGET=\"_blank\">The Xenharmonic Wiki</A><BR>\n" +
    "  <A HREF=\"https://www.kylegann.com/tuning.html\" TARGET=\"_blank\">Kyle Gann: Just "
    "Intonation Explained</A><BR>\n" +
    "  <A HREF=\"https://www.huygens-fokker.org/scala/\" TARGET=\"_blank\">Scala, the scale "
    "program</A><BR>\n" +
    "  <A HREF=\"https://www.huygens-fokker.org/\" TARGET=\"_blank\">The Huygens-Fokker "
    "Foundation for microtonal music</A><BR>\n" +
    "  </BODY>\n" + "</HTML>\n";

// Points the cache folder somewhere of the test's own.
struct HelpTest : ::testing::Test {
    QTemporaryDir dir;
    QByteArray savedCache = qgetenv("XDG_CACHE_HOME");

    void useCache(const QString& path) { qputenv("XDG_CACHE_HOME", path.toUtf8()); }
    void TearDown() override { qputenv("XDG_CACHE_HOME", savedCache); }

    static void showAndPaint(AboutDialog& dialog)
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.repaint();
        QCoreApplication::processEvents();
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
};

TEST_F(HelpTest, ThePageHoldsItsSeventeenLinesByteForByte)
{
    EXPECT_EQ(helpPageText(), expectedPage);
    EXPECT_EQ(helpPageText().count('\n'), 16);  // seventeen lines, one without its line feed
}

TEST_F(HelpTest, ThePageGoesToTheCacheFolderOnEveryRepaintAndNowhereElse)
{
    const QString cache = dir.filePath("cache");
    useCache(cache);
    const QString work = dir.filePath("work");
    ASSERT_TRUE(QDir().mkpath(work));
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work));

    const QString folder = helpPageDirectory();
    ASSERT_TRUE(folder.startsWith(cache)) << folder.toStdString();
    const QString page = QDir(folder).filePath("Orlix.htm");
    {
        AboutDialog dialog;
        EXPECT_EQ(dialog.windowTitle(), "About Orlix");
        showAndPaint(dialog);
        EXPECT_EQ(read(page), expectedPage);
        EXPECT_EQ(dialog.controls().browser->source(), QUrl::fromLocalFile(page));
        EXPECT_TRUE(dialog.controls().browser->toPlainText().contains("Kyle Gann"));
        EXPECT_TRUE(dialog.controls().browser->openExternalLinks());
        EXPECT_FALSE(dialog.controls().problem->isVisible());

        // Whatever became of the file, the next repaint writes it again.
        QFile(page).resize(3);
        dialog.repaint();
        EXPECT_EQ(read(page), expectedPage);
    }
    {
        AboutDialog again;
        showAndPaint(again);
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Orlix.htm"});
    EXPECT_EQ(read(page), expectedPage);
    EXPECT_TRUE(QDir(work).entryList(QDir::Files).isEmpty()) << "the current folder is left alone";
    QDir::setCurrent(saved);
}

TEST_F(HelpTest, WhereThePageCannotBeWrittenNothingIsShownAndTheDialogSaysWhy)
{
    // A folder under a plain file can never be made, whoever runs the test.
    QFile blocker(dir.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    useCache(dir.filePath("plain/cache"));

    AboutDialog dialog;
    showAndPaint(dialog);
    EXPECT_TRUE(dialog.controls().browser->toPlainText().isEmpty());
    EXPECT_TRUE(dialog.controls().browser->source().isEmpty());
    EXPECT_TRUE(dialog.controls().problem->isVisible());
    EXPECT_TRUE(dialog.controls().problem->text().startsWith("The help page cannot be written"))
        << dialog.controls().problem->text().toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("plain/cache")));
}

TEST_F(HelpTest, TheUserGuideButtonClosesTheDialogAskingForTheGuide)
{
    useCache(dir.filePath("cache"));
    AboutDialog dialog;
    showAndPaint(dialog);
    EXPECT_FALSE(dialog.userGuideWanted());
    dialog.controls().guideButton->click();
    EXPECT_TRUE(dialog.userGuideWanted());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(HelpTest, TheGuideIsBuiltInWithItsPictures)
{
    UserGuideWindow guide;
    const QTextBrowser* view = guide.browser();
    EXPECT_EQ(view->source(), QUrl("qrc:/docs/user-guide.md"));
    EXPECT_TRUE(view->toPlainText().contains("Tonalvane"));
    EXPECT_FALSE(view->toMarkdown().isEmpty());
    // Every picture the guide names is inside the program.
    int pictures = 0;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextImageFormat image = it.fragment().charFormat().toImageFormat();
            if (!image.isValid())
                continue;
            ++pictures;
            EXPECT_TRUE(QFile::exists(":/docs/" + image.name())) << image.name().toStdString();
        }
    }
    EXPECT_GE(pictures, TONALVANE_GUIDE_PICTURES);
}

}  // namespace
}  // namespace tv
