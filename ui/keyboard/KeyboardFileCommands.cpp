#include "ui/keyboard/KeyboardFileCommands.h"

#include "core/keyboard/KeyboardFile.h"
#include "core/keyboard/Recording.h"
#include "platform/qt/MessageService.h"
#include "ui/common/FileSuggestion.h"

#include <QFileInfo>

namespace tv {
namespace {

QString absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

KeyboardFileCommands::KeyboardFileCommands(MessageService& messages,
                                           std::unique_ptr<KeyboardFileDialogs> dialogs)
    : messages_(messages), dialogs_(std::move(dialogs))
{
}

void KeyboardFileCommands::setDialogs(std::unique_ptr<KeyboardFileDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

QString KeyboardFileCommands::notReadQuestion(const QString& path)
{
    return QStringLiteral("%1 was not read completely. Save over it anyway?")
        .arg(QFileInfo(path).fileName());
}

KeyboardFileCommands::Outcome KeyboardFileCommands::openKeyboard(KeySlots& keys)
{
    FileQuestion question = FileQuestion::openKeyboard();
    question.suggestedPath =
        keyboardPath_.isEmpty() ? lastChosenFolder() : QFileInfo(keyboardPath_).absolutePath();
    const QString path = ask(question);
    if (path.isEmpty())
        return Outcome::Cancelled;
    const FileResult result = openKeyboardFile(keys, path.toStdString());
    if (!result.ok) {
        unreadFiles_.insert(absolute(path));
        messages_.showMessage(QString::fromStdString(result.message));
        return Outcome::Failed;
    }
    unreadFiles_.remove(absolute(path));
    keyboardPath_ = absolute(path);
    return Outcome::Done;
}

KeyboardFileCommands::Outcome KeyboardFileCommands::saveKeyboard(const KeySlots& keys)
{
    FileQuestion question = FileQuestion::saveKeyboard();
    question.suggestedPath =
        suggestedSavePath(keyboardPath_, question.defaultSuffix, lastChosenFolder());
    const QString path = ask(question);
    if (path.isEmpty())
        return Outcome::Cancelled;
    if (unreadFiles_.contains(absolute(path)) &&
        messages_.askYesNo(notReadQuestion(path)) != MessageService::Answer::Yes)
        return Outcome::Cancelled;
    const FileResult result = writeKeyboardFile(keys, path.toStdString());
    if (!result.ok) {
        messages_.showMessage(QString::fromStdString(result.message));
        return Outcome::Failed;
    }
    // The file now holds what the window holds.
    unreadFiles_.remove(absolute(path));
    keyboardPath_ = absolute(path);
    return Outcome::Done;
}

KeyboardFileCommands::Outcome KeyboardFileCommands::saveRecording(const Recording& recording,
                                                                  const KeySlots& keys,
                                                                  const TrackTuning& tuning)
{
    // A recording is offered the name it was saved under last, or else the keyboard's.
    FileQuestion question = FileQuestion::saveRecording();
    question.suggestedPath =
        suggestedSavePath(recordingPath_.isEmpty() ? keyboardPath_ : recordingPath_,
                          question.defaultSuffix, lastChosenFolder());
    const QString path = ask(question);
    if (path.isEmpty())
        return Outcome::Cancelled;
    const auto codeForKey = [&keys](std::uint8_t keyCode) {
        const KeySlot* slot = keys.slotAt(slotForKey(keyCode));
        return slot ? slot->code : nullptr;
    };
    const FileResult result = recording.save(path.toStdString(), codeForKey, tuning);
    if (!result.ok) {
        messages_.showMessage(QString::fromStdString(result.message));
        return Outcome::Failed;
    }
    recordingPath_ = absolute(path);
    return Outcome::Done;
}

QString KeyboardFileCommands::ask(const FileQuestion& question)
{
    const QString path = dialogs_->askPath(question);
    rememberChosenFile(path);
    return path;
}

}  // namespace tv
