#include "ui/lattice/LatticeView.h"

#include "ui/lattice/LatticeGeometry.h"
#include "ui/lattice/LatticePainter.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

namespace tv {

LatticeView::LatticeView(LatticeViewHost& host, QWidget* parent) : QWidget(parent), host_(host)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void LatticeView::invalidatePicture()
{
    stale_ = true;
    // A readout left standing would describe whatever stood under the pointer before.
    QToolTip::hideText();
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
    host_.drawLattice(painter);
    stale_ = false;
    changed_ = QRegion();
}

void LatticeView::redrawBox(int index)
{
    // The ring may be taken away, so what lies under it is drawn again too: the whole
    // picture, clipped to the ring.
    const QRect area = LatticePainter::selectionRing(host_.labelGeometry(), index);
    changed_ += area;
    update(area);
}

void LatticeView::paintEvent(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    if (stale_ || picture_.size() != (QSizeF(size()) * ratio).toSize()) {
        renderPicture();
    } else if (!changed_.isEmpty()) {
        QPainter painter(&picture_);
        painter.setClipRegion(changed_);
        host_.drawLattice(painter);
        changed_ = QRegion();
    }
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area, picture_, QRectF(area.topLeft() * ratio, QSizeF(area.size()) * ratio));
}

bool LatticeView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = host_.readoutAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            const LatticeGeometry geometry = host_.labelGeometry();
            QToolTip::showText(help->globalPos(), text, this,
                               geometry.box(geometry.hitTest(help->pos())));
        }
        return true;
    }
    return QWidget::event(event);
}

void LatticeView::wheelEvent(QWheelEvent* event)
{
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        wheelRest_ = 0;
        QWidget::wheelEvent(event);
        return;
    }
    wheelRest_ += event->angleDelta().y();
    const int steps = wheelRest_ / 120;
    wheelRest_ -= steps * 120;
    if (steps != 0)
        host_.zoomBy(steps);
    event->accept();
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
        host_.pressLeft(at);
    else if (event->button() == Qt::RightButton)
        host_.pressRight(at);
}

void LatticeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        host_.releaseLeft(event->modifiers().testFlag(Qt::ShiftModifier));
}

void LatticeView::focusOutEvent(QFocusEvent* event)
{
    host_.loseMouse();
    QWidget::focusOutEvent(event);
}

}  // namespace tv
