#pragma once

#include <QWidget>

class QTextBrowser;

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

private:
    QTextBrowser* browser_;
};

}  // namespace tv
