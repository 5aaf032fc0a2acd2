#include "ui/common/OptionsDialog.h"

#include "core/midi/MidiOutput.h"
#include "core/tuning/PitchOutput.h"
#include "platform/qt/DialogTemplate.h"
#include "ui/common/AppServices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;
using Controls = OptionsDialog::Controls;

constexpr auto optionsControls = controlTable<Controls>({
    {Kind::Label, "MIDI output:", 7, 7, 180, 8, &Controls::outputLabel},
    {Kind::Combo, "", 7, 18, 180, 70, &Controls::outputList},
    {Kind::Label, "MIDI input:", 7, 38, 180, 8, &Controls::inputLabel},
    {Kind::Combo, "", 7, 49, 180, 70, &Controls::inputList},
    {Kind::Label, "Tuning method:", 7, 69, 180, 8, &Controls::tuningLabel},
    {Kind::Combo, "", 7, 80, 180, 60, &Controls::tuningList},
    {Kind::Label, "Pitch bend range (semitones):", 7, 102, 110, 8, &Controls::rangeLabel},
    {Kind::Combo, "", 120, 100, 40, 90, &Controls::rangeList},
    {Kind::Label, "", 7, 115, 180, 8, &Controls::stepLabel},
    {Kind::Check, "&Send range to synthesizer", 7, 128, 150, 10, &Controls::sendRangeBox},
    {Kind::DefaultButton, "Close", 137, 145, 50, 14, &Controls::closeButton},
});

// The methods in the order of the list, with their captions.
struct TuningChoice {
    TuningKind kind;
    const char* caption;
};
constexpr TuningChoice tuningChoices[] = {
    {TuningKind::Bend, "Pitch bend, one channel per note"},
    {TuningKind::Mts, "MIDI Tuning Standard"},
    {TuningKind::Mpe, "MPE"},
};

}  // namespace

OptionsDialog::OptionsDialog(AppServices& services, QWidget* parent)
    : QDialog(parent), services_(services)
{
    setWindowTitle(QStringLiteral("Options"));
    setFont(DialogUnits::dialogFont());
    const DialogUnits units(font());
    setFixedSize(units.size(194, 166));
    controls_ = createControls(this, units, optionsControls);

    // Pick lists only: nothing typed may name an output or a range.
    controls_.outputList->setEditable(false);
    controls_.rangeList->setEditable(false);
    controls_.tuningList->setEditable(false);
    controls_.inputList->setEditable(false);
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

    // "None" first, then the ports as the system offers them now.
    inputs_ = services_.midiInputNames();
    inputs_.insert(inputs_.begin(), std::string());
    fillInputs();

    const TuningKind method = services_.pitchOutput().kind();
    for (const TuningChoice& choice : tuningChoices) {
        controls_.tuningList->addItem(QString::fromLatin1(choice.caption));
        if (choice.kind == method)
            controls_.tuningList->setCurrentIndex(controls_.tuningList->count() - 1);
    }
    controls_.sendRangeBox->setChecked(services_.midiOutput().sendsBendRange());
    updateControls();

    connect(controls_.outputList, &QComboBox::activated, this, &OptionsDialog::chooseOutput);
    connect(controls_.inputList, &QComboBox::activated, this, &OptionsDialog::chooseInput);
    connect(controls_.tuningList, &QComboBox::activated, this, &OptionsDialog::chooseTuning);
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

void OptionsDialog::fillInputs()
{
    controls_.inputList->clear();
    for (const auto& name : inputs_)
        controls_.inputList->addItem(name.empty() ? QStringLiteral("None")
                                                  : QString::fromStdString(name));
    const auto inUse = std::find(inputs_.begin(), inputs_.end(), services_.midiInputName());
    controls_.inputList->setCurrentIndex(
        inUse == inputs_.end() ? 0 : static_cast<int>(inUse - inputs_.begin()));
}

void OptionsDialog::chooseInput(int item)
{
    if (item < 0 || item >= static_cast<int>(inputs_.size()))
        return;
    const std::string& name = inputs_[static_cast<std::size_t>(item)];
    if (name != services_.midiInputName())
        services_.switchMidiInput(name);
    // A port that would not open leaves the one in use selected.
    fillInputs();
}

void OptionsDialog::chooseTuning(int item)
{
    if (item < 0 || item >= static_cast<int>(std::size(tuningChoices)))
        return;
    services_.setTuningMethod(tuningChoices[item].kind);
    updateControls();
}

void OptionsDialog::chooseRange()
{
    const int range = controls_.rangeList->currentIndex() + minBendRange;
    services_.setBendRange(range, controls_.sendRangeBox->isChecked());
    updateControls();
}

void OptionsDialog::updateControls()
{
    const TuningKind kind = services_.pitchOutput().kind();
    const int range = services_.midiOutput().bendRange();
    const int last = kind == TuningKind::Mpe ? maxMpeBendRange : maxBendRange;
    if (controls_.rangeList->count() != last) {
        controls_.rangeList->clear();
        for (int r = minBendRange; r <= last; ++r)
            controls_.rangeList->addItem(QString::number(r));
    }
    controls_.rangeList->setCurrentIndex(range - minBendRange);
    // One bend step in cents: the range's semitones over 8192 steps.
    controls_.stepLabel->setText(
        QStringLiteral("Step: %1 cent").arg(QString::number(range * 100.0 / 8192.0, 'f', 3)));
    // Tuning messages use no bend: the range means nothing to them.
    const bool bends = kind != TuningKind::Mts;
    controls_.rangeLabel->setEnabled(bends);
    controls_.rangeList->setEnabled(bends);
    controls_.stepLabel->setEnabled(bends);
    controls_.sendRangeBox->setEnabled(bends);
}

}  // namespace tv
