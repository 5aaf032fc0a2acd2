#include "ui/lattice/LatticeView.h"

#include "ui/lattice/LatticeWindow.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tv {

LatticeView::LatticeView(LatticeWindow& window) : QWidget(&window), window_(window)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void LatticeView::invalidatePicture()
{
    stale_ = true;
    update();
}

void LatticeView::renderPicture()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize().expandedTo(QSize(1, 1));
    if (picture_.size() != pixels) {
        picture_ = QImage(pixels, QImage::Format_RGB32);
        picture_.setDevicePixelRatio(ratio);
    }
    QPainter painter(&picture_);
    window_.drawLattice(painter);
    stale_ = false;
}

void LatticeView::redrawBox(int index, bool raised)
{
    if (stale_ || picture_.isNull()) {
        update();
        return;
    }
    {
        QPainter painter(&picture_);
        window_.drawBox(painter, index, raised);
    }
    update(window_.labelGeometry().box(index));
}

void LatticeView::paintEvent(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    if (stale_ || picture_.size() != (QSizeF(size()) * ratio).toSize())
        renderPicture();
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area, picture_, QRectF(area.topLeft() * ratio, QSizeF(area.size()) * ratio));
}

void LatticeView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    invalidatePicture();
}

void LatticeView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        window_.pressLeft(at);
    else if (event->button() == Qt::RightButton)
        window_.pressRight(at);
}

void LatticeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        window_.releaseLeft(event->modifiers().testFlag(Qt::ShiftModifier));
}

void LatticeView::focusOutEvent(QFocusEvent* event)
{
    window_.loseMouse();
    QWidget::focusOutEvent(event);
}

}  // namespace tv
