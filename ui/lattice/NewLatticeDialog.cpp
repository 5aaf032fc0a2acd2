#include "ui/lattice/NewLatticeDialog.h"

#include "core/lattice/OddLimitDiamond.h"
#include "platform/qt/DialogTemplate.h"
#include "platform/qt/MessageService.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include <charconv>
#include <string>

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

NewLatticeDialog::NewLatticeDialog(MessageService& messages, int style, QWidget* parent)
    : QDialog(parent), messages_(messages)
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

    // Chalmers, Wilson and Fokker have no layout yet.
    for (std::size_t i = 2; i < styleButtons_.size(); ++i)
        styleButtons_[i]->setEnabled(false);
    const bool laidOut = style == 0 || style == 1;
    styleButtons_[laidOut ? static_cast<std::size_t>(style) : 0]->setChecked(true);
    showBoxes_[0]->setChecked(true);
    controls_.limitEdit->setFocus();

    connect(controls_.okButton, &QPushButton::clicked, this, &NewLatticeDialog::acceptIfValid);
    connect(controls_.cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<std::uint32_t> NewLatticeDialog::enteredLimit() const
{
    const std::string text = controls_.limitEdit->text().trimmed().toStdString();
    if (text.empty())
        return 0;
    std::uint32_t limit = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), limit);
    if (error != std::errc() || end != text.data() + text.size() || limit < 1 ||
        limit > maxDiamondLimit)
        return std::nullopt;
    return limit;
}

void NewLatticeDialog::acceptIfValid()
{
    static_assert(maxDiamondLimit == 45, "the message names the largest limit");
    const std::optional<std::uint32_t> limit = enteredLimit();
    if (!limit) {
        messages_.showMessage(limitRangeMessage);
        controls_.limitEdit->setFocus(Qt::OtherFocusReason);
        controls_.limitEdit->selectAll();
        return;
    }
    choice_.limit = *limit;
    choice_.style = controls_.planetaryButton->isChecked() ? 1 : 0;
    choice_.ratios = controls_.ratiosBox->isChecked();
    choice_.exponents = controls_.exponentsBox->isChecked();
    choice_.lines = controls_.linesBox->isChecked();
    choice_.circles = controls_.circlesBox->isChecked();
    accept();
}

}  // namespace tv
