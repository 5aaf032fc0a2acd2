#include "ui/help/UserGuideWindow.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace tv {

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
    browser_->setSource(QUrl(QString::fromLatin1(guideAddress)), QTextDocument::MarkdownResource);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableSize() : QSize(1024, 768);
    resize(std::min(available.width() * 2 / 3, 900), available.height() * 4 / 5);
}

}  // namespace tv
