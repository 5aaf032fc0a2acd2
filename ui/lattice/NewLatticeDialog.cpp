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

// Table order is the Tab order; "&Planetary" was added last and so comes last.
constexpr std::array newLatticeControls{
    ControlSpec{Kind::DefaultButton, "OK", 34, 96, 50, 14},
    ControlSpec{Kind::Button, "Cancel", 93, 96, 50, 14},
    ControlSpec{Kind::Label, "Limit:", 7, 10, 15, 8},
    ControlSpec{Kind::Edit, "", 27, 8, 45, 12},
    ControlSpec{Kind::Group, "Style", 7, 26, 240, 25},
    ControlSpec{Kind::Radio, "&Velmor", 16, 34, 40, 13},
    ControlSpec{Kind::Radio, "&Chalmers", 106, 34, 40, 13},
    ControlSpec{Kind::Radio, "&Wilson", 151, 34, 40, 13},
    ControlSpec{Kind::Radio, "&Fokker", 196, 34, 40, 13},
    ControlSpec{Kind::Group, "Show", 7, 57, 181, 29},
    ControlSpec{Kind::Check, "&Ratios", 16, 68, 33, 10},
    ControlSpec{Kind::Check, "E&xponents", 51, 68, 48, 10},
    ControlSpec{Kind::Check, "&Lines", 101, 68, 33, 10},
    ControlSpec{Kind::Check, "C&ircles", 136, 68, 33, 10},
    ControlSpec{Kind::Radio, "&Planetary", 53, 34, 48, 13},
};

}  // namespace

NewLatticeDialog::NewLatticeDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Create a new lattice..."));
    setFont(DialogUnits::dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(254, 141));

    const auto controls = createControls(this, units, newLatticeControls);
    okButton_ = static_cast<QPushButton*>(controls[0]);
    cancelButton_ = static_cast<QPushButton*>(controls[1]);
    limitEdit_ = static_cast<QLineEdit*>(controls[3]);
    styleButtons_ = {
        static_cast<QRadioButton*>(controls[5]), static_cast<QRadioButton*>(controls[14]),
        static_cast<QRadioButton*>(controls[6]), static_cast<QRadioButton*>(controls[7]),
        static_cast<QRadioButton*>(controls[8])};
    for (std::size_t i = 0; i < showBoxes_.size(); ++i)
        showBoxes_[i] = static_cast<QCheckBox*>(controls[10 + i]);

    limitEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));

    // The five style buttons form one group wherever they sit in the Tab order.
    styleGroup_ = new QButtonGroup(this);
    styleGroup_->setExclusive(true);
    for (QRadioButton* button : styleButtons_)
        styleGroup_->addButton(button);

    styleButtons_[0]->setChecked(true);
    showBoxes_[0]->setChecked(true);
    limitEdit_->setFocus();

    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace tv
