// The user guide's links within itself lead to their sections, clicked or with Enter.

#include "ui/help/UserGuideWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <map>

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(GuideLinks, EveryLinkWithinTheGuideShowsItsSection)
{
    EXPECT_EQ(UserGuideWindow::headingAnchor(" Undo, redo & MIDI_out "), "undo-redo--midi_out");
    UserGuideWindow guide;
    guide.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&guide));
    QTextBrowser& view = *guide.browser();
    // Each heading by the anchor its links use; then each link, followed.
    std::map<QString, QTextBlock> sections;
    QStringList links;
    for (QTextBlock b = view.document()->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() > 0)
            sections[UserGuideWindow::headingAnchor(b.text())] = b;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorHref().startsWith('#'))
                links << it.fragment().charFormat().anchorHref();
        }
    }
    ASSERT_GE(links.size(), 10);
    for (const QString& link : links) {
        view.verticalScrollBar()->setValue(0);
        emit view.anchorClicked(QUrl(link));
        ASSERT_EQ(sections.count(link.mid(1)), 1u) << link.toStdString();
        const QRectF section =
            view.document()->documentLayout()->blockBoundingRect(sections[link.mid(1)]);
        EXPECT_NEAR(view.verticalScrollBar()->value(),
                    std::min(section.top(), 1.0 * view.verticalScrollBar()->maximum()), 2)
            << link.toStdString();
    }
    // Tab from the top reaches the first link; Enter follows it.
    view.setSource(QUrl(QString::fromLatin1(UserGuideWindow::guideAddress)));
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ('#' + view.source().fragment(), links.first());
}

}  // namespace
}  // namespace tv
