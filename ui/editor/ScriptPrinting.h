#pragma once

#include <QString>

class QFont;
class QPrinter;

namespace tv {

// The dialogs behind the editor's print commands. Tests give the editor their own answers;
// the program uses the platform's dialogs.
class ScriptPrintDialogs {
public:
    virtual ~ScriptPrintDialogs() = default;
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool choosePrinter(QPrinter& printer) = 0;
    virtual void pageSetup(QPrinter& printer) = 0;
};

class SystemPrintDialogs : public ScriptPrintDialogs {
public:
    bool choosePrinter(QPrinter& printer) override;
    void pageSetup(QPrinter& printer) override;
};

// Prints `text` on one page in `font`, from the top left of the printable area; what does not
// fit is cut off. False when the printer does not take the document.
bool printScriptPage(QPrinter& printer, const QString& text, const QFont& font);

}  // namespace tv
