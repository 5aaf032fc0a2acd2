#include "ui/common/OptionsDialog.h"

#include "core/midi/MidiOutput.h"
#include "platform/qt/DialogTemplate.h"
#include "ui/common/AppServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include <algorithm>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;
using Controls = OptionsDialog::Controls;

constexpr auto optionsControls = controlTable<Controls>({
    {Kind::Label, "MIDI output:", 7, 7, 180, 8, &Controls::outputLabel},
    {Kind::Combo, "", 7, 18, 180, 70, &Controls::outputList},
    {Kind::Label, "Pitch bend range (semitones):", 7, 40, 110, 8, &Controls::rangeLabel},
    {Kind::Combo, "", 120, 38, 40, 90, &Controls::rangeList},
    {Kind::Check, "&Send range to synthesizer", 7, 55, 150, 10, &Controls::sendRangeBox},
    {Kind::DefaultButton, "Close", 137, 74, 50, 14, &Controls::closeButton},
});

}  // namespace

OptionsDialog::OptionsDialog(AppServices& services, QWidget* parent)
    : QDialog(parent), services_(services)
{
    setWindowTitle(QStringLiteral("Options"));
    setFont(DialogUnits::dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(194, 95));
    controls_ = createControls(this, units, optionsControls);

    // Pick lists only: nothing typed may name an output or a range.
    controls_.outputList->setEditable(false);
    controls_.rangeList->setEditable(false);
    controls_.outputList->setPlaceholderText(QStringLiteral("(no output in use)"));

    // Read now, so that a synthesizer started since the last time is offered.
    outputs_ = services_.midiOutputNames();
    const std::string current = services_.midiOutputName();
    for (const auto& name : outputs_)
        controls_.outputList->addItem(QString::fromStdString(name));
    const auto inUse = std::find(outputs_.begin(), outputs_.end(), current);
    controls_.outputList->setCurrentIndex(current.empty() || inUse == outputs_.end()
                                              ? -1
                                              : static_cast<int>(inUse - outputs_.begin()));

    for (int range = minBendRange; range <= maxBendRange; ++range)
        controls_.rangeList->addItem(QString::number(range));
    const MidiOutput& output = services_.midiOutput();
    controls_.rangeList->setCurrentIndex(output.bendRange() - minBendRange);
    controls_.sendRangeBox->setChecked(output.sendsBendRange());

    connect(controls_.outputList, &QComboBox::activated, this, &OptionsDialog::chooseOutput);
    connect(controls_.rangeList, &QComboBox::activated, this, &OptionsDialog::chooseRange);
    connect(controls_.sendRangeBox, &QCheckBox::clicked, this, &OptionsDialog::chooseRange);
    connect(controls_.closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

void OptionsDialog::chooseOutput(int item)
{
    if (item < 0 || item >= static_cast<int>(outputs_.size()))
        return;
    const std::string& name = outputs_[static_cast<std::size_t>(item)];
    if (name == services_.midiOutputName())
        return;
    if (!services_.switchMidiOutput(name)) {
        // The output in use stays; so does its place in the list.
        const auto inUse = std::find(outputs_.begin(), outputs_.end(), services_.midiOutputName());
        controls_.outputList->setCurrentIndex(
            inUse == outputs_.end() ? -1 : static_cast<int>(inUse - outputs_.begin()));
    }
}

void OptionsDialog::chooseRange()
{
    const int range = controls_.rangeList->currentIndex() + minBendRange;
    services_.setBendRange(range, controls_.sendRangeBox->isChecked());
}

}  // namespace tv
