#include "platform/qt/MessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace tv {
namespace {

const QString messageCaption = QStringLiteral("Tonalvane");

// `fallback` is the button that Enter presses. Texts quote file names and file contents, so
// they are shown as they are, never read as markup.
QMessageBox::StandardButton show(const QString& text, QMessageBox::StandardButtons buttons,
                                 QMessageBox::StandardButton fallback)
{
    QMessageBox box(QMessageBox::Warning, messageCaption, text, buttons,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(fallback);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageService::Answer answerOf(QMessageBox::StandardButton chosen)
{
    switch (chosen) {
    case QMessageBox::Yes: return MessageService::Answer::Yes;
    case QMessageBox::No: return MessageService::Answer::No;
    case QMessageBox::Cancel: return MessageService::Answer::Cancel;
    default: return MessageService::Answer::Ok;
    }
}

}  // namespace

void DialogMessageService::showMessage(const QString& text)
{
    show(text, QMessageBox::Ok, QMessageBox::Ok);
}

MessageService::Answer DialogMessageService::askYesNo(const QString& text)
{
    // Every yes-or-no question here asks leave to overwrite or throw something away: Enter
    // and closing the box keep things as they are.
    const auto answer = answerOf(show(text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No));
    return answer == Answer::Yes ? Answer::Yes : Answer::No;
}

MessageService::Answer DialogMessageService::askYesNoCancel(const QString& text)
{
    // Closing the box with Escape counts as Cancel, never as a silent Yes.
    const auto answer = answerOf(
        show(text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes));
    return answer == Answer::Ok ? Answer::Cancel : answer;
}

}  // namespace tv
