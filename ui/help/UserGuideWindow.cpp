#include "ui/help/UserGuideWindow.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace tv {

QString UserGuideWindow::headingAnchor(const QString& heading)
{
    // Lower case, spaces to hyphens, and nothing else but letters, digits, "-" and "_", as
    // the guide's own links name its sections.
    QString anchor;
    for (const QChar c : heading.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            anchor += c;
        else if (c == QLatin1Char(' '))
            anchor += QLatin1Char('-');
    }
    return anchor;
}

void UserGuideWindow::nameSections(QTextDocument& document)
{
    // A Markdown heading arrives without an anchor of its own: each gets the one its links
    // use, so that a link within the guide finds its section.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 || block.text().isEmpty())
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat anchor;
        anchor.setAnchor(true);
        anchor.setAnchorNames({headingAnchor(block.text())});
        cursor.mergeCharFormat(anchor);
    }
}

const char* const UserGuideWindow::guideAddress = "qrc:/docs/user-guide.md";

UserGuideWindow::UserGuideWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("Tonalvane User Guide"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);

    // The view follows links to the guide's own pages and anchors; anything else is handed
    // to the user's web browser.
    browser_->setOpenLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl target = browser_->source().resolved(link);
        if (target.scheme() == QStringLiteral("qrc"))
            browser_->setSource(target, QTextDocument::MarkdownResource);
        else
            QDesktopServices::openUrl(target);
    });
    // A page is given its section anchors once loaded, and only then can a link's section be
    // found: the view looks for it again.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& source) {
        nameSections(*browser_->document());
        if (source.hasFragment())
            browser_->scrollToAnchor(source.fragment());
    });
    browser_->setSource(QUrl(QString::fromLatin1(guideAddress)), QTextDocument::MarkdownResource);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableSize() : QSize(1024, 768);
    resize(std::min(available.width() * 2 / 3, 900), available.height() * 4 / 5);
}

}  // namespace tv
