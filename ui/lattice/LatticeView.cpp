#include "ui/lattice/LatticeView.h"

#include "ui/lattice/LatticeGeometry.h"
#include "ui/lattice/LatticePainter.h"

#include <QApplication>
#include <QGridLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

namespace tv {
namespace {

// Pixels one wheel line or one arrow key moves the picture.
constexpr int lineStep = 20;

}  // namespace

LatticeView::LatticeView(LatticeViewHost& host, QWidget* parent)
    : QWidget(nullptr), host_(host), frame_(new QWidget(parent)),
      horizontal_(new QScrollBar(Qt::Horizontal, frame_)),
      vertical_(new QScrollBar(Qt::Vertical, frame_))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    auto* grid = new QGridLayout(frame_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(this, 0, 0);
    grid->addWidget(vertical_, 0, 1);
    grid->addWidget(horizontal_, 1, 0);
    horizontal_->hide();
    vertical_->hide();
    // The bars never take the focus from the picture, whose keys play and scroll it.
    horizontal_->setFocusPolicy(Qt::NoFocus);
    vertical_->setFocusPolicy(Qt::NoFocus);
    for (QScrollBar* bar : {horizontal_, vertical_})
        connect(bar, &QScrollBar::valueChanged, this, [this] { update(); });
    frame_->installEventFilter(this);
}

QSize LatticeView::pictureSize() const
{
    const QSize room = frame_->size();
    return {static_cast<int>(std::lround(room.width() * zoom_)),
            static_cast<int>(std::lround(room.height() * zoom_))};
}

QPoint LatticeView::scrollPosition() const { return {horizontal_->value(), vertical_->value()}; }

void LatticeView::scrollTo(QPoint position)
{
    horizontal_->setValue(position.x());
    vertical_->setValue(position.y());
}

void LatticeView::setZoom(double zoom, QPoint anchor)
{
    const QPointF plain = QPointF(toPicture(anchor)) / zoom_;
    zoom_ = zoom;
    fitScrollBars();
    scrollTo((plain * zoom_ - QPointF(anchor)).toPoint());
    invalidatePicture();
}

void LatticeView::fitScrollBars()
{
    const QSize room = frame_->size();
    const QSize picture = pictureSize();
    const int barWidth = vertical_->sizeHint().width();
    const int barHeight = horizontal_->sizeHint().height();
    bool wide = picture.width() > room.width();
    bool tall = picture.height() > room.height();
    // A bar takes room from the other direction.
    if (wide && !tall)
        tall = picture.height() > room.height() - barHeight;
    if (tall && !wide)
        wide = picture.width() > room.width() - barWidth;
    const QSize shown(room.width() - (tall ? barWidth : 0), room.height() - (wide ? barHeight : 0));
    horizontal_->setVisible(wide);
    vertical_->setVisible(tall);
    horizontal_->setRange(0, wide ? picture.width() - shown.width() : 0);
    vertical_->setRange(0, tall ? picture.height() - shown.height() : 0);
    horizontal_->setPageStep(std::max(1, shown.width()));
    vertical_->setPageStep(std::max(1, shown.height()));
    horizontal_->setSingleStep(lineStep);
    vertical_->setSingleStep(lineStep);
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
    drawnAt_ = scrollPosition();
    QPainter painter(&picture_);
    painter.translate(-drawnAt_);
    host_.drawArea(painter, QRect(drawnAt_, size()));
    stale_ = false;
    changed_ = QRegion();
}

void LatticeView::redrawBox(int index)
{
    // The ring may be taken away, so what lies under it is drawn again too: the picture,
    // clipped to the ring.
    const QRect area = LatticePainter::selectionRing(host_.labelGeometry(), index);
    changed_ += area;
    update(area.translated(-scrollPosition()));
}

void LatticeView::paintEvent(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    if (stale_ || drawnAt_ != scrollPosition() ||
        picture_.size() != (QSizeF(size()) * ratio).toSize()) {
        renderPicture();
    } else if (const QRect redrawn = changed_.boundingRect().intersected(QRect(drawnAt_, size()));
               !redrawn.isEmpty()) {
        // Only what changed in view is drawn again; an empty area would mean all of it.
        QPainter painter(&picture_);
        painter.translate(-drawnAt_);
        painter.setClipRegion(changed_);
        host_.drawArea(painter, redrawn);
    }
    changed_ = QRegion();
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area, picture_, QRectF(area.topLeft() * ratio, QSizeF(area.size()) * ratio));
}

bool LatticeView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint at = toPicture(help->pos());
        const QString text = host_.readoutAt(at);
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            const LatticeGeometry geometry = host_.labelGeometry();
            QToolTip::showText(help->globalPos(), text, this,
                               geometry.box(geometry.hitTest(at)).translated(-scrollPosition()));
        }
        return true;
    }
    return QWidget::event(event);
}

bool LatticeView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == frame_ && event->type() == QEvent::Resize)
        fitScrollBars();
    return QWidget::eventFilter(watched, event);
}

void LatticeView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        wheelRest_ += event->angleDelta().y();
        const int steps = wheelRest_ / 120;
        wheelRest_ -= steps * 120;
        if (steps != 0)
            host_.zoomAt(steps, event->position().toPoint());
        event->accept();
        return;
    }
    wheelRest_ = 0;
    QPoint delta = event->pixelDelta();
    if (delta.isNull())
        delta = event->angleDelta() * (QApplication::wheelScrollLines() * lineStep) / 120;
    if (event->modifiers().testFlag(Qt::ShiftModifier) && delta.x() == 0)
        delta = QPoint(delta.y(), 0);
    scrollTo(scrollPosition() - delta);
    event->accept();
}

void LatticeView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    const QPoint at = scrollPosition();
    const int page = vertical_->pageStep();
    switch (event->key()) {
    case Qt::Key_Left: scrollTo(at - QPoint(lineStep, 0)); break;
    case Qt::Key_Right: scrollTo(at + QPoint(lineStep, 0)); break;
    case Qt::Key_Up: scrollTo(at - QPoint(0, lineStep)); break;
    case Qt::Key_Down: scrollTo(at + QPoint(0, lineStep)); break;
    case Qt::Key_PageUp: scrollTo(at - QPoint(0, page)); break;
    case Qt::Key_PageDown: scrollTo(at + QPoint(0, page)); break;
    case Qt::Key_Home: scrollTo(QPoint(0, 0)); break;
    case Qt::Key_End: scrollTo(QPoint(horizontal_->maximum(), vertical_->maximum())); break;
    default: QWidget::keyPressEvent(event);
    }
}

void LatticeView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    invalidatePicture();
}

void LatticeView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        host_.pressLeft(toPicture(at));
    } else if (event->button() == Qt::RightButton) {
        host_.pressRight(toPicture(at));
    } else if (event->button() == Qt::MiddleButton) {
        dragFrom_ = at;
        dragScroll_ = scrollPosition();
        setCursor(Qt::ClosedHandCursor);
    }
}

void LatticeView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragFrom_)
        scrollTo(dragScroll_ - (event->position().toPoint() - *dragFrom_));
}

void LatticeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        host_.releaseLeft(event->modifiers().testFlag(Qt::ShiftModifier));
    } else if (event->button() == Qt::MiddleButton && dragFrom_) {
        dragFrom_.reset();
        unsetCursor();
    }
}

void LatticeView::focusOutEvent(QFocusEvent* event)
{
    host_.loseMouse();
    if (dragFrom_) {
        dragFrom_.reset();
        unsetCursor();
    }
    QWidget::focusOutEvent(event);
}

}  // namespace tv
