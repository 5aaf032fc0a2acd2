#include "platform/qt/MessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace tv {
namespace {

const QString messageCaption = QStringLiteral("Tonalvane");

MessageService::Answer ask(const QString& text, QMessageBox::StandardButtons buttons,
                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton)
{
    const auto chosen = QMessageBox::warning(QApplication::activeWindow(), messageCaption, text,
                                             buttons, defaultButton);
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
    QMessageBox::warning(QApplication::activeWindow(), messageCaption, text, QMessageBox::Ok);
}

MessageService::Answer DialogMessageService::askYesNo(const QString& text)
{
    // A yes/no question guards something that cannot be undone: Enter answers No.
    return ask(text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
}

MessageService::Answer DialogMessageService::askYesNoCancel(const QString& text)
{
    // Closing the box with Escape counts as Cancel, never as a silent Yes.
    const auto answer = ask(text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return answer == Answer::Ok ? Answer::Cancel : answer;
}

}  // namespace tv
