#pragma once

#include <QImage>
#include <QWidget>

namespace tv {

class LatticeWindow;

// The drawing area of a lattice window. It keeps the latest full picture in an image, so a
// click can change one label's border on it without painting the whole lattice again.
class LatticeView : public QWidget {
    Q_OBJECT
public:
    explicit LatticeView(LatticeWindow& window);

    // The whole picture is drawn again at the next paint.
    void invalidatePicture();
    // Draws the whole picture now.
    void renderPicture();
    // Changes one element's border on the picture and shows just that part.
    void redrawBox(int index, bool raised);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A focus that moves away (to another window, or to a menu that takes the mouse) means
    // the release of a press may never come here.
    void focusOutEvent(QFocusEvent* event) override;

private:
    LatticeWindow& window_;
    QImage picture_;
    bool stale_ = true;
};

}  // namespace tv
