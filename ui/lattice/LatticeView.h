#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>

class QPainter;

namespace tv {

class LatticeGeometry;

// What a lattice view needs of the window it belongs to: the picture, where its labels lie,
// the readout of a place, the zoom, and what the mouse does.
class LatticeViewHost {
public:
    virtual ~LatticeViewHost() = default;
    virtual int drawLattice(QPainter& painter) = 0;
    virtual LatticeGeometry labelGeometry() const = 0;
    virtual QString readoutAt(QPoint at) const = 0;
    virtual void zoomBy(int steps) = 0;
    virtual void pressLeft(QPoint at) = 0;
    virtual void releaseLeft(bool shiftHeld) = 0;
    virtual void pressRight(QPoint at) = 0;
    virtual void loseMouse() = 0;
};

// The drawing area of a lattice window. It keeps the latest full picture in an image, so a
// click can change one label's border on it without drawing the whole picture again. Ctrl
// with the wheel zooms the labels; a pointer resting on an element shows its readout.
class LatticeView : public QWidget {
    Q_OBJECT
public:
    LatticeView(LatticeViewHost& host, QWidget* parent);

    // The whole picture is drawn again at the next paint.
    void invalidatePicture();
    // Draws the whole picture now.
    void renderPicture();
    // Draws one element's border and selection ring again, as the selection now has them, at
    // the next paint; only that part of the picture is drawn and shown.
    void redrawBox(int index);

protected:
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A focus that moves away (to another window, or to a menu that takes the mouse) means
    // the release of a press may never come here.
    void focusOutEvent(QFocusEvent* event) override;

private:
    LatticeViewHost& host_;
    QImage picture_;
    bool stale_ = true;
    // Parts of the picture to draw again before it is shown.
    QRegion changed_;
    // Wheel turns not yet a whole zoom step (120 eighths of a degree each).
    int wheelRest_ = 0;
};

}  // namespace tv
