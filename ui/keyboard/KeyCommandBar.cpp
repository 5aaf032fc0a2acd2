#include "ui/keyboard/KeyCommandBar.h"

#include "platform/qt/DialogTemplate.h"
#include "ui/keyboard/KeyboardIcons.h"

#include <QButtonGroup>
#include <QPushButton>

#include <array>

namespace tv {
namespace {

using Kind = ControlSpec::Kind;
using Controls = KeyCommandBar::Controls;

constexpr auto commandControls = controlTable<Controls>({
    {Kind::Button, "Open", 16, 12, 32, 22, &Controls::openButton},
    {Kind::Button, "Save", 53, 12, 32, 22, &Controls::saveKeyboardButton},
    {Kind::Button, "Save", 89, 12, 32, 22, &Controls::saveRecordingButton},
    {Kind::Button, "Edit", 125, 12, 32, 22, &Controls::editButton},
    {Kind::Button, "Play", 162, 12, 32, 22, &Controls::playButton},
    {Kind::Button, "Rewind", 199, 12, 32, 22, &Controls::rewindButton},
    {Kind::Button, "Record", 236, 12, 32, 22, &Controls::recordButton},
});

constexpr std::array commands{
    KeyCommand::Open, KeyCommand::SaveKeyboard, KeyCommand::SaveRecording, KeyCommand::Edit,
    KeyCommand::Play, KeyCommand::Rewind,       KeyCommand::Record};

// The two Save buttons share a caption; their names tell them apart.
const QString names[] = {
    QStringLiteral("Open keyboard"),  QStringLiteral("Save keyboard"),
    QStringLiteral("Save recording"), QStringLiteral("Edit"),
    QStringLiteral("Play"),           QStringLiteral("Rewind"),
    QStringLiteral("Record"),
};

}  // namespace

KeyCommandBar::KeyCommandBar(QWidget& window, const DialogUnits& units,
                             std::function<void(KeyCommand)> run)
    : controls_(createControls(&window, units, commandControls))
{
    const std::array icons{openKeyboardIcon(), saveKeyboardIcon(), saveRecordingIcon(),
                           editModeIcon(),     playModeIcon(),     rewindIcon(),
                           recordIcon(false)};
    modes_ = new QButtonGroup(&window);
    modes_->setExclusive(true);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        QPushButton* b = button(commands[i]);
        // A picture instead of the caption; the caption stays for tooltips and screen readers.
        b->setToolTip(names[i]);
        b->setAccessibleName(names[i]);
        b->setText(QString());
        b->setIcon(icons[i]);
        const int side = std::min(b->width() - 8, b->height() - 6);
        b->setIconSize(QSize(side, side));
        b->setCheckable(true);
        b->setAutoDefault(false);
        if (commands[i] != KeyCommand::Rewind && commands[i] != KeyCommand::Record)
            modes_->addButton(b);
        QObject::connect(b, &QPushButton::clicked, &window,
                         [run, command = commands[i]] { run(command); });
    }
    pressMode(KeyCommand::Edit);
    showRecording(false, false);
}

QPushButton* KeyCommandBar::button(KeyCommand command) const
{
    switch (command) {
    case KeyCommand::Open: return controls_.openButton;
    case KeyCommand::SaveKeyboard: return controls_.saveKeyboardButton;
    case KeyCommand::SaveRecording: return controls_.saveRecordingButton;
    case KeyCommand::Edit: return controls_.editButton;
    case KeyCommand::Play: return controls_.playButton;
    case KeyCommand::Rewind: return controls_.rewindButton;
    case KeyCommand::Record: return controls_.recordButton;
    }
    return nullptr;
}

bool KeyCommandBar::editPressed() const { return controls_.editButton->isChecked(); }

void KeyCommandBar::pressMode(KeyCommand command) { button(command)->setChecked(true); }

void KeyCommandBar::showRecording(bool usable, bool recording)
{
    controls_.rewindButton->setEnabled(usable);
    controls_.recordButton->setEnabled(usable);
    controls_.recordButton->setChecked(recording);
    if (recording != recordShowsSquare_ || controls_.recordButton->icon().isNull()) {
        controls_.recordButton->setIcon(recordIcon(recording));
        recordShowsSquare_ = recording;
    }
}

}  // namespace tv
