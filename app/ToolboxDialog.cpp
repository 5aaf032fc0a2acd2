#include "app/ToolboxDialog.h"

#include "platform/qt/DialogTemplate.h"
#include "ui/common/ToolboxIcons.h"
#include "ui/keyboard/KeyboardWindow.h"
#include "ui/lattice/LatticeWindow.h"

#include <QPushButton>

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

    // Windows that are not built yet stay disabled rather than pretending.
    controls_.helpButton->setEnabled(false);
    connect(controls_.latticeButton, &QPushButton::clicked, this, &ToolboxDialog::openLattice);
    connect(controls_.keyboardButton, &QPushButton::clicked, this, &ToolboxDialog::openKeyboard);
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

}  // namespace tv
