#pragma once

#include <QWidget>

class QTextBrowser;
class QTextDocument;

namespace tv {

// The user guide, built into the program with its pictures, in a browser view of its own.
// Links within the guide are followed in the view; links to the web open in the user's
// browser.
class UserGuideWindow : public QWidget {
    Q_OBJECT
public:
    // The guide inside the program.
    static const char* const guideAddress;

    explicit UserGuideWindow(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return browser_; }

    // The anchor a link names a section by: "The table" is "the-table".
    static QString headingAnchor(const QString& heading);
    // Gives every heading of the document its anchor.
    static void nameSections(QTextDocument& document);

private:
    QTextBrowser* browser_;
};

}  // namespace tv
