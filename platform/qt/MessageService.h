#pragma once

#include <QString>

class QWidget;

namespace tv {

// The one place that shows the program's messages: modal, with a warning icon, an OK button
// for a message and Yes/No (/Cancel) for a question; a Yes/No question has No as its
// default. Tests use a double that records texts and gives prepared answers.
class MessageService {
public:
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~MessageService() = default;
    virtual void showMessage(const QString& text) = 0;
    // No is the default answer: Enter and Escape give No.
    virtual Answer askYesNo(const QString& text) = 0;
    // Yes is the default answer; Escape gives Cancel.
    virtual Answer askYesNoCancel(const QString& text) = 0;
};

class DialogMessageService : public MessageService {
public:
    void showMessage(const QString& text) override;
    Answer askYesNo(const QString& text) override;
    Answer askYesNoCancel(const QString& text) override;
};

}  // namespace tv
