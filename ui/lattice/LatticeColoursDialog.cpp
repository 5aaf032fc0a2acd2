#include "ui/lattice/LatticeColoursDialog.h"

#include "platform/qt/DialogTemplate.h"

#include <QPushButton>

#include <array>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;
using Controls = LatticeColoursDialog::Controls;

constexpr auto colourControls = controlTable<Controls>({
    {Kind::Button, "&Background color...", 7, 7, 90, 14, &Controls::backgroundButton},
    {Kind::DefaultButton, "OK", 7, 28, 42, 14, &Controls::okButton},
    {Kind::Button, "Cancel", 55, 28, 42, 14, &Controls::cancelButton},
});

}  // namespace

LatticeColoursDialog::LatticeColoursDialog(std::function<QColor(QWidget*)> pickColour,
                                           QWidget* parent)
    : QDialog(parent), pickColour_(std::move(pickColour))
{
    setWindowTitle(QStringLiteral("Lattice colors"));
    const DialogUnits units(DialogUnits::dialogFont());
    setFixedSize(units.size(104, 49));
    controls_ = createControls(this, units, colourControls);
    connect(controls_.backgroundButton, &QPushButton::clicked, this,
            &LatticeColoursDialog::pickBackground);
    connect(controls_.okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(controls_.cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void LatticeColoursDialog::pickBackground()
{
    const QColor colour = pickColour_ ? pickColour_(this) : QColor();
    if (colour.isValid())
        chosen_ = colour;
}

}  // namespace tv
