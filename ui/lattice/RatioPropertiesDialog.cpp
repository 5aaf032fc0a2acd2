#include "ui/lattice/RatioPropertiesDialog.h"

#include "core/lattice/DisplayText.h"
#include "core/lattice/Lattice.h"
#include "platform/qt/DialogTemplate.h"
#include "platform/qt/MessageService.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <type_traits>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;
using Controls = RatioPropertiesDialog::Controls;

constexpr auto ratioControls = controlTable<Controls>({
    {Kind::Label, "Name:", 7, 8, 22, 10, &Controls::nameLabel},
    {Kind::Edit, "", 33, 7, 136, 12, &Controls::nameEdit},
    {Kind::Label, "Ratio:", 7, 23, 22, 10, &Controls::ratioLabel},
    {Kind::RightEdit, "", 33, 21, 43, 12, &Controls::numeratorEdit},
    {Kind::Label, "/", 82, 22, 8, 8, &Controls::slashLabel},
    {Kind::Edit, "", 94, 21, 43, 12, &Controls::denominatorEdit},
    {Kind::Label, "Cents:", 7, 37, 22, 10, &Controls::centsLabel},
    {Kind::RightEdit, "", 33, 35, 43, 12, &Controls::centsEdit},
    {Kind::Label, "2/1:", 7, 52, 22, 10, &Controls::octaveLabel},
    {Kind::Edit, "", 33, 50, 43, 12, &Controls::octaveEdit},
    {Kind::Label, "(0 = same as base; -1 = octave lower; +1 = octave higher)", 79, 50, 98, 19,
     &Controls::octaveHint},
    {Kind::DefaultButton, "OK", 41, 71, 32, 14, &Controls::okButton},
    {Kind::Button, "Cancel", 91, 71, 32, 14, &Controls::cancelButton},
});

const QString numeratorZeroMessage = QStringLiteral("Numerator of 0 is invalid");
const QString denominatorZeroMessage = QStringLiteral("Denominator of 0 is invalid");
const QString numeratorTooLargeMessage =
    QStringLiteral("Numerator is too large: the largest is 4294967295");
const QString denominatorTooLargeMessage =
    QStringLiteral("Denominator is too large: the largest is 4294967295");
const QString octaveRangeMessage = QStringLiteral("Octave must be between -32768 and 32767");
const QString centsTooLargeMessage = QStringLiteral("Cents value is too large");
const QString latticeFullMessage =
    QStringLiteral("The lattice is full: it holds at most 65535 elements");

// A field's leading number, read without the locale. A field that starts with no number reads
// as 0; nothing when the number does not fit the type (it is refused, never cut).
template <typename Number>
std::optional<Number> leadingNumber(const QLineEdit* field)
{
    const std::string text = field->text().trimmed().toStdString();
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    Number value{};
    std::from_chars_result result;
    if constexpr (std::is_floating_point_v<Number>)
        result = std::from_chars(first, last, value, std::chars_format::fixed);
    else
        result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range)
        return std::nullopt;
    if (result.ec != std::errc())
        return Number{};
    return value;
}

// The octave hint was measured for a narrow bitmap face. Where the dialog font sets it wider it
// takes a smaller size rather than lose its last words below the box.
void fitWrappedText(QLabel* label)
{
    QFont font = label->font();
    const auto fits = [&] {
        const QRect needed = QFontMetrics(font).boundingRect(
            label->contentsRect(), Qt::TextWordWrap | label->alignment(), label->text());
        return needed.height() <= label->contentsRect().height();
    };
    while (!fits() && font.pointSizeF() > 5.0)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

void allowOnly(QLineEdit* field, const QString& pattern)
{
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), field));
}

QString decimal(std::uint32_t value) { return QString::number(value); }

}  // namespace

RatioPropertiesDialog::RatioPropertiesDialog(Lattice& lattice, int index, MessageService& messages,
                                             QWidget* parent)
    : QDialog(parent), lattice_(lattice), index_(index), messages_(messages)
{
    // The title's spelling is the one users have always seen.
    setWindowTitle(QStringLiteral("Ratio propeties"));
    setFont(DialogUnits::dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(184, 92));

    controls_ = createControls(this, units, ratioControls);
    fitWrappedText(controls_.octaveHint);

    // Ratio terms are whole numbers; an octave may be negative and a size in cents both
    // negative and fractional (-701.955). Only the decimal point is taken, whatever the locale.
    allowOnly(controls_.numeratorEdit, QStringLiteral("[0-9]*"));
    allowOnly(controls_.denominatorEdit, QStringLiteral("[0-9]*"));
    allowOnly(controls_.centsEdit, QStringLiteral("[-+]?[0-9]*\\.?[0-9]*"));
    allowOnly(controls_.octaveEdit, QStringLiteral("[-+]?[0-9]*"));

    // Out of range (index -1 included) the lattice answers with a new element's values:
    // empty name, 1/1, octave 0. A cents-only element shows 0/0.
    storedName_ = lattice_.name(index_);
    shownName_ = QString::fromStdString(displayText(storedName_));
    controls_.nameEdit->setText(shownName_);
    controls_.numeratorEdit->setText(decimal(lattice_.numerator(index_)));
    controls_.denominatorEdit->setText(decimal(lattice_.denominator(index_)));
    controls_.octaveEdit->setText(QString::number(lattice_.octave(index_)));
    controls_.nameEdit->setFocus();

    connect(controls_.okButton, &QPushButton::clicked, this, &RatioPropertiesDialog::applyEntries);
    connect(controls_.cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void RatioPropertiesDialog::refuse(const QString& text, QLineEdit* field)
{
    messages_.showMessage(text);
    if (!field) {
        reject();
        return;
    }
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void RatioPropertiesDialog::applyEntries()
{
    const bool adding = index_ == -1;
    LatticeElement* element = lattice_.element(index_);
    if (!adding && !element) {
        reject();
        return;
    }

    const QString nameText = controls_.nameEdit->text();
    const std::string name = nameText == shownName_ ? storedName_ : nameText.toStdString();
    const bool centsGiven = !controls_.centsEdit->text().isEmpty();

    // Everything is read and checked first; nothing changes until every entry is sound.
    std::optional<double> cents;
    std::optional<std::uint32_t> numerator;
    std::optional<std::uint32_t> denominator;
    if (centsGiven) {
        cents = leadingNumber<double>(controls_.centsEdit);
        if (!cents)
            return refuse(centsTooLargeMessage, controls_.centsEdit);
    } else {
        numerator = leadingNumber<std::uint32_t>(controls_.numeratorEdit);
        if (!numerator)
            return refuse(numeratorTooLargeMessage, controls_.numeratorEdit);
        if (*numerator == 0)
            return refuse(numeratorZeroMessage, controls_.numeratorEdit);
        denominator = leadingNumber<std::uint32_t>(controls_.denominatorEdit);
        if (!denominator)
            return refuse(denominatorTooLargeMessage, controls_.denominatorEdit);
        if (*denominator == 0)
            return refuse(denominatorZeroMessage, controls_.denominatorEdit);
    }

    if (adding) {
        // A new element always starts at octave 0, whatever the octave field holds.
        const bool added = centsGiven ? lattice_.addCents(name, *cents)
                                      : lattice_.addRatio(name, *numerator, *denominator);
        if (!added)
            return refuse(latticeFullMessage, nullptr);
        accept();
        return;
    }

    const auto octave = leadingNumber<std::int16_t>(controls_.octaveEdit);
    if (!octave)
        return refuse(octaveRangeMessage, controls_.octaveEdit);

    if (centsGiven) {
        lattice_.setNumerator(index_, 0);
        lattice_.setDenominator(index_, 0);
        lattice_.setCents(index_, *cents);
        lattice_.placeCents(*element, *cents);
    } else {
        lattice_.setNumerator(index_, *numerator);
        lattice_.setDenominator(index_, *denominator);
        lattice_.placeRatio(*element, *numerator, *denominator);
    }
    lattice_.setName(index_, name);
    lattice_.setOctave(index_, *octave);
    accept();
}

}  // namespace tv
