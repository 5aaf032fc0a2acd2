#include "ui/help/AboutDialog.h"

#include "platform/qt/DialogTemplate.h"
#include "ui/help/HelpPage.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;

// The browser view is not one of the template's kinds; it takes its place from this row.
constexpr int browserX = 7, browserY = 7, browserWidth = 237, browserHeight = 153;

struct TemplateControls {
    QLabel* problem = nullptr;
    QPushButton* guideButton = nullptr;
};

constexpr auto aboutControls = controlTable<TemplateControls>({
    {Kind::Label, "", 7, 166, 180, 16, &TemplateControls::problem},
    {Kind::Button, "&User guide", 194, 166, 50, 14, &TemplateControls::guideButton},
});

}  // namespace

AboutDialog::AboutDialog(QWidget* parent, const QString& directory)
    : QDialog(parent), directory_(directory.isEmpty() ? helpPageDirectory() : directory)
{
    setWindowTitle(QStringLiteral("About Orlix"));
    setFont(DialogUnits::dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(251, 185));

    controls_.browser = new QTextBrowser(this);
    controls_.browser->setGeometry(units.rect(browserX, browserY, browserWidth, browserHeight));
    // Every link leaves for the user's own web browser; the view never follows one itself.
    controls_.browser->setOpenExternalLinks(true);
    controls_.browser->setOpenLinks(false);
    const TemplateControls created = createControls(this, units, aboutControls);
    controls_.problem = created.problem;
    controls_.guideButton = created.guideButton;
    controls_.problem->setWordWrap(true);
    controls_.problem->hide();
    controls_.guideButton->setAutoDefault(false);

    connect(controls_.guideButton, &QPushButton::clicked, this, [this] {
        userGuideWanted_ = true;
        accept();
    });
}

void AboutDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!showing_)
        showPage();
}

void AboutDialog::showPage()
{
    showing_ = true;
    const HelpPageWrite page = writeHelpPage(directory_);
    if (page.written) {
        controls_.problem->hide();
        // The bytes are the same every time, so the view loads the page only when it does not
        // show it yet; reloading from here would repaint the dialog again without end.
        const QUrl url = QUrl::fromLocalFile(page.path);
        if (controls_.browser->source() != url)
            controls_.browser->setSource(url, QTextDocument::HtmlResource);
    } else if (controls_.problem->isHidden() || controls_.problem->text() != page.reason) {
        controls_.browser->setSource(QUrl());
        controls_.browser->clear();
        controls_.problem->setText(page.reason);
        controls_.problem->show();
    }
    showing_ = false;
}

}  // namespace tv
