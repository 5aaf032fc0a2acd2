#include "ui/lattice/NewLatticeDialog.h"

#include "platform/qt/DialogTemplate.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;
using Controls = NewLatticeDialog::Controls;

// Table order is the Tab order; "&Planetary" was added last and so comes last.
constexpr auto newLatticeControls = controlTable<Controls>({
    {Kind::DefaultButton, "OK", 34, 96, 50, 14, &Controls::okButton},
    {Kind::Button, "Cancel", 93, 96, 50, 14, &Controls::cancelButton},
    {Kind::Label, "Limit:", 7, 10, 15, 8, &Controls::limitLabel},
    {Kind::Edit, "", 27, 8, 45, 12, &Controls::limitEdit},
    {Kind::Group, "Style", 7, 26, 240, 25, &Controls::styleFrame},
    {Kind::Radio, "&Velmor", 16, 34, 40, 13, &Controls::velmorButton},
    {Kind::Radio, "&Chalmers", 106, 34, 40, 13, &Controls::chalmersButton},
    {Kind::Radio, "&Wilson", 151, 34, 40, 13, &Controls::wilsonButton},
    {Kind::Radio, "&Fokker", 196, 34, 40, 13, &Controls::fokkerButton},
    {Kind::Group, "Show", 7, 57, 181, 29, &Controls::showFrame},
    {Kind::Check, "&Ratios", 16, 68, 33, 10, &Controls::ratiosBox},
    {Kind::Check, "E&xponents", 51, 68, 48, 10, &Controls::exponentsBox},
    {Kind::Check, "&Lines", 101, 68, 33, 10, &Controls::linesBox},
    {Kind::Check, "C&ircles", 136, 68, 33, 10, &Controls::circlesBox},
    {Kind::Radio, "&Planetary", 53, 34, 48, 13, &Controls::planetaryButton},
});

}  // namespace

NewLatticeDialog::NewLatticeDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Create a new lattice..."));
    setFont(DialogUnits::dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(254, 141));

    controls_ = createControls(this, units, newLatticeControls);
    const Controls& c = controls_;
    styleButtons_ = {c.velmorButton, c.planetaryButton, c.chalmersButton, c.wilsonButton,
                     c.fokkerButton};
    showBoxes_ = {c.ratiosBox, c.exponentsBox, c.linesBox, c.circlesBox};

    controls_.limitEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));

    // The five style buttons form one group wherever they sit in the Tab order.
    styleGroup_ = new QButtonGroup(this);
    styleGroup_->setExclusive(true);
    for (QRadioButton* button : styleButtons_)
        styleGroup_->addButton(button);

    styleButtons_[0]->setChecked(true);
    showBoxes_[0]->setChecked(true);
    controls_.limitEdit->setFocus();

    connect(controls_.okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(controls_.cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace tv
