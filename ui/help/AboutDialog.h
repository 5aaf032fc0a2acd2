#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTextBrowser;

namespace tv {

// "About Orlix": the help page in a browser view whose links open in the user's web browser,
// and a button that asks for the user guide. Each time the dialog repaints, the page is
// written again into the program's cache folder and shown from there; when it cannot be
// written the view stays empty and a line says why.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // One field per control of the dialog.
    struct Controls {
        QTextBrowser* browser = nullptr;
        QLabel* problem = nullptr;
        QPushButton* guideButton = nullptr;
    };

    // `directory` is where the page is written: the cache folder unless a test says otherwise.
    explicit AboutDialog(QWidget* parent = nullptr, const QString& directory = QString());

    const Controls& controls() const { return controls_; }
    // Whether the dialog was closed with "User guide".
    bool userGuideWanted() const { return userGuideWanted_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void showPage();

    QString directory_;
    Controls controls_;
    bool userGuideWanted_ = false;
    bool showing_ = false;  // showPage() is running: a repaint it causes writes nothing
};

}  // namespace tv
