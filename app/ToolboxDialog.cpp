#include "app/ToolboxDialog.h"

#include "app/CommandLineFiles.h"
#include "platform/qt/MessageService.h"
#include "ui/common/AppServices.h"

#include "platform/qt/DialogTemplate.h"
#include "ui/common/ToolboxIcons.h"
#include "ui/help/AboutDialog.h"
#include "ui/help/UserGuideWindow.h"
#include "ui/keyboard/KeyboardWindow.h"
#include "ui/lattice/LatticeWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QShortcut>

#include <array>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;
using Controls = ToolboxDialog::Controls;

constexpr auto toolboxControls = controlTable<Controls>({
    {Kind::Button, "Lattice", 7, 7, 39, 28, &Controls::latticeButton},
    {Kind::Button, "Computer Keyboard", 55, 7, 39, 28, &Controls::keyboardButton},
    {Kind::Button, "Help", 55, 43, 39, 28, &Controls::helpButton},
});

}  // namespace

ToolboxDialog::ToolboxDialog(AppServices& services, QWidget* parent)
    : QDialog(parent), services_(services)
{
    setWindowTitle(QStringLiteral("Tonalvane Toolbox"));
    const DialogUnits units(DialogUnits::dialogFont());
    setFixedSize(units.size(113, 89));

    controls_ = createControls(this, units, toolboxControls);

    // The buttons show pictures instead of their captions; the caption stays as the name
    // that tooltips and screen readers give.
    const std::array icons{latticeIcon(), keyboardIcon(), helpIcon()};
    const std::array buttons{controls_.latticeButton, controls_.keyboardButton,
                             controls_.helpButton};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        QPushButton* button = buttons[i];
        button->setToolTip(button->text());
        button->setAccessibleName(button->text());
        button->setText(QString());
        button->setIcon(icons[i]);
        const int side = std::min(button->width(), button->height()) - 8;
        button->setIconSize(QSize(side, side));
        button->setAutoDefault(false);
    }

    connect(controls_.latticeButton, &QPushButton::clicked, this, &ToolboxDialog::openLattice);
    connect(controls_.keyboardButton, &QPushButton::clicked, this, &ToolboxDialog::openKeyboard);
    connect(controls_.helpButton, &QPushButton::clicked, this, &ToolboxDialog::openHelp);

    // F1 opens the user guide from every window of the program; a keyboard window whose key
    // F1 plays keeps it for itself.
    auto* guideKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    guideKey->setContext(Qt::ApplicationShortcut);
    connect(guideKey, &QShortcut::activated, this, &ToolboxDialog::openUserGuide);
}

void ToolboxDialog::showAtCorner()
{
    move(0, 0);
    show();
    raise();
    activateWindow();
}

void ToolboxDialog::done(int result)
{
    // Each window closes as its own close box would close it, asking to save its work and
    // ending its players; one that stays open keeps the program running.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() && child->isVisible() && !child->close())
            return;
    }
    QDialog::done(result);
}

void ToolboxDialog::openLattice()
{
    // Each press opens another independent window; it is the toolbox's child and goes
    // with it when the program ends.
    auto* window = new LatticeWindow(services_, this);
    window->show();
}

void ToolboxDialog::openKeyboard()
{
    auto* window = new KeyboardWindow(services_, this);
    window->show();
}

void ToolboxDialog::openFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("scl")) {
        auto* window = new LatticeWindow(services_, this);
        window->show();
        openScaleInto(*window, path);
    } else if (suffix == QStringLiteral("tvk")) {
        auto* window = new KeyboardWindow(services_, this);
        window->show();
        openKeyboardInto(*window, path);
    } else {
        services_.messages().showMessage(
            QStringLiteral("%1 is neither a scale file (.scl) nor a keyboard file (.tvk).")
                .arg(QDir::toNativeSeparators(path)));
    }
}

void ToolboxDialog::openHelp()
{
    AboutDialog about(this);
    about.exec();
    if (about.userGuideWanted())
        openUserGuide();
}

UserGuideWindow* ToolboxDialog::userGuide() const { return guide_.data(); }

void ToolboxDialog::openUserGuide()
{
    // One guide window; asking again brings it to the front.
    if (!guide_)
        guide_ = new UserGuideWindow(this);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

}  // namespace tv
