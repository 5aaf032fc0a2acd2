#include "ui/lattice/LatticeColoursDialog.h"

#include "platform/qt/DialogTemplate.h"

#include <QPushButton>

#include <array>

namespace tv {
namespace {

constexpr std::array colourControls{
    ControlSpec{ControlSpec::Kind::Button, "&Background color...", 7, 7, 90, 14},
    ControlSpec{ControlSpec::Kind::DefaultButton, "OK", 7, 28, 42, 14},
    ControlSpec{ControlSpec::Kind::Button, "Cancel", 55, 28, 42, 14},
};

}  // namespace

LatticeColoursDialog::LatticeColoursDialog(std::function<QColor(QWidget*)> pickColour,
                                           QWidget* parent)
    : QDialog(parent), pickColour_(std::move(pickColour))
{
    setWindowTitle(QStringLiteral("Lattice colors"));
    const DialogUnits units(DialogUnits::dialogFont());
    setFixedSize(units.size(104, 49));
    const auto controls = createControls(this, units, colourControls);
    connect(static_cast<QPushButton*>(controls[0]), &QPushButton::clicked, this,
            &LatticeColoursDialog::pickBackground);
    connect(static_cast<QPushButton*>(controls[1]), &QPushButton::clicked, this, &QDialog::accept);
    connect(static_cast<QPushButton*>(controls[2]), &QPushButton::clicked, this, &QDialog::reject);
}

void LatticeColoursDialog::pickBackground()
{
    const QColor colour = pickColour_ ? pickColour_(this) : QColor();
    if (colour.isValid())
        chosen_ = colour;
}

}  // namespace tv
