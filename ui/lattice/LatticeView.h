#pragma once

#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QWidget>

#include <optional>

class QPainter;
class QScrollBar;

namespace tv {

class LatticeGeometry;

// What a lattice view needs of the window it belongs to: the picture, where its labels lie,
// the readout of a place, the zoom, and what the mouse does. Points are in picture
// coordinates: the view adds its scroll position to what the pointer gives.
class LatticeViewHost {
public:
    virtual ~LatticeViewHost() = default;
    // Paints the part `area` of the picture; the painter's origin is the picture's.
    virtual int drawArea(QPainter& painter, const QRect& area) = 0;
    virtual LatticeGeometry labelGeometry() const = 0;
    virtual QString readoutAt(QPoint at) const = 0;
    // Ctrl with the wheel, `steps` zoom steps, keeping `anchor` (a point of the view) on the
    // part of the picture under it.
    virtual void zoomAt(int steps, QPoint anchor) = 0;
    virtual void pressLeft(QPoint at) = 0;
    virtual void releaseLeft(bool shiftHeld) = 0;
    virtual void pressRight(QPoint at) = 0;
    virtual void loseMouse() = 0;
};

// The drawing area of a lattice window, and a frame around it with scroll bars. The picture
// is the frame's size times the zoom; where it is larger than the frame the view shows a part
// of it, which the scroll bars, the wheel (Shift with it: sideways), the arrow and page keys
// and a drag with the middle button move. Ctrl with the wheel zooms; a pointer resting on an
// element shows its readout. The view keeps what it shows in an image, so a click can change
// one label's border on it without drawing all of it again.
class LatticeView : public QWidget {
    Q_OBJECT
public:
    LatticeView(LatticeViewHost& host, QWidget* parent);

    // The view with its scroll bars: what the window shows.
    QWidget* frame() const { return frame_; }

    // The picture's size at `zoom` times the frame's; the scroll position moves so that the
    // picture point under `anchor` (a point of the view) stays under it.
    void setZoom(double zoom, QPoint anchor);
    double zoom() const { return zoom_; }
    QSize pictureSize() const;
    // The picture point at the view's top left; it keeps the view within the picture.
    QPoint scrollPosition() const;
    void scrollTo(QPoint position);
    // From a point of the view to the picture, and back.
    QPoint toPicture(QPoint at) const { return at + scrollPosition(); }
    QPoint fromPicture(QPoint at) const { return at - scrollPosition(); }

    // The whole picture is drawn again at the next paint.
    void invalidatePicture();
    // Draws what the view shows now.
    void renderPicture();
    // Draws one element's border and selection ring again, as the selection now has them, at
    // the next paint; only that part of the picture is drawn and shown.
    void redrawBox(int index);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A focus that moves away (to another window, or to a menu that takes the mouse) means
    // the release of a press may never come here.
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Shows the scroll bars the picture needs at the frame's size and sets their ranges.
    void fitScrollBars();

    LatticeViewHost& host_;
    QWidget* frame_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    double zoom_ = 1.0;
    QImage picture_;
    // The scroll position `picture_` was drawn at.
    QPoint drawnAt_;
    bool stale_ = true;
    // Parts of the picture (in its coordinates) to draw again before it is shown.
    QRegion changed_;
    // Wheel turns not yet a whole zoom step (120 eighths of a degree each).
    int wheelRest_ = 0;
    // Where a drag with the middle button started, and the scroll position then.
    std::optional<QPoint> dragFrom_;
    QPoint dragScroll_;
};

}  // namespace tv
