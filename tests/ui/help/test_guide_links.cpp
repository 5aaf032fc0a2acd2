// The user guide's links within itself: each leads to its section, clicked or with Enter.

#include "ui/help/UserGuideWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace tv {
namespace {

// The section links of the guide, in order.
QStringList sectionLinks(const QTextDocument& document)
{
    QStringList links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (href.startsWith('#'))
                links << href.mid(1);
        }
    }
    return links;
}

// Where the view stands when it shows the heading whose anchor is `name` at its top, or as
// near as it can get.
int scrollFor(const QTextBrowser& view, const QString& name)
{
    QTextDocument& document = *view.document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 &&
            UserGuideWindow::headingAnchor(block.text()) == name) {
            const int top = qRound(document.documentLayout()->blockBoundingRect(block).top());
            return std::min(top, view.verticalScrollBar()->maximum());
        }
    }
    return -1;
}

TEST(GuideLinks, EveryContentsLinkShowsItsSection)
{
    EXPECT_EQ(UserGuideWindow::headingAnchor("MIDI output and bend range"),
              "midi-output-and-bend-range");
    EXPECT_EQ(UserGuideWindow::headingAnchor(" Undo, redo & the_rest "), "undo-redo--the_rest");
    UserGuideWindow guide;
    guide.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&guide));
    QTextBrowser& view = *guide.browser();
    const QStringList links = sectionLinks(*view.document());
    ASSERT_GE(links.size(), 10);
    for (const QString& link : links) {
        const int expected = scrollFor(view, link);
        ASSERT_GE(expected, 0) << "no section " << link.toStdString();
        view.verticalScrollBar()->setValue(0);
        emit view.anchorClicked(QUrl('#' + link));
        EXPECT_NEAR(view.verticalScrollBar()->value(), expected, 2) << link.toStdString();
        EXPECT_EQ(view.source().fragment(), link);
    }
    // Enter follows the link that Tab reached: the first one, from the top.
    view.setSource(QUrl(QString::fromLatin1(UserGuideWindow::guideAddress)));
    view.setFocus();
    view.verticalScrollBar()->setValue(0);
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(view.source().fragment(), links.first());
    EXPECT_NEAR(view.verticalScrollBar()->value(), scrollFor(view, links.first()), 2);
}

}  // namespace
}  // namespace tv
