#pragma once

#include "platform/qt/MessageService.h"

#include <QStringList>

#include <deque>

namespace tv::test {

// Records every message and question, and answers questions from a prepared list (No when
// the list runs out, so a forgotten answer never saves or overwrites anything).
class RecordingMessageService : public MessageService {
public:
    void showMessage(const QString& text) override { texts.append(text); }
    Answer askYesNo(const QString& text) override { return next(text); }
    Answer askYesNoCancel(const QString& text) override { return next(text); }

    QStringList texts;
    std::deque<Answer> answers;

private:
    Answer next(const QString& text)
    {
        texts.append(text);
        if (answers.empty())
            return Answer::No;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace tv::test
