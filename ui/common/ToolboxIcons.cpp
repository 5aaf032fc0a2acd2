#include "ui/common/ToolboxIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tv {

QIcon drawnIcon(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        draw(painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon latticeIcon()
{
    // Three pitches joined along the fifth and third axes, in their limit colours.
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 1.6));
        p.drawLine(QPointF(7, 24), QPointF(25, 24));
        p.drawLine(QPointF(7, 24), QPointF(16, 8));
        p.drawLine(QPointF(25, 24), QPointF(16, 8));
        const struct {
            QPointF centre;
            QColor fill;
        } nodes[] = {{{7, 24}, QColor(255, 0, 0)},
                     {{25, 24}, QColor(255, 165, 0)},
                     {{16, 8}, QColor(255, 255, 0)}};
        for (const auto& node : nodes) {
            p.setBrush(node.fill);
            p.drawEllipse(node.centre, 5.5, 5.5);
        }
    });
}

QIcon keyboardIcon()
{
    // A computer keyboard: a case with three rows of keys and a space bar.
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(50, 50, 60), 1.2));
        p.setBrush(QColor(200, 205, 215));
        p.drawRoundedRect(QRectF(2, 8, 28, 17), 2.5, 2.5);
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(90, 90, 100), 0.8));
        for (int row = 0; row < 3; ++row) {
            for (int key = 0; key < 6 - (row == 2); ++key) {
                const double x = 4.5 + key * 4.2 + row * 1.2;
                p.drawRect(QRectF(x, 10.5 + row * 3.6, 3.2, 2.7));
            }
        }
        p.drawRect(QRectF(9, 21.2, 14, 2.3));
    });
}

QIcon helpIcon()
{
    // A question mark in a blue disc.
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(20, 60, 140), 1.2));
        p.setBrush(QColor(70, 130, 220));
        p.drawEllipse(QPointF(16, 16), 13, 13);
        QFont font(QStringLiteral("Helvetica"));
        font.setStyleHint(QFont::SansSerif);
        font.setBold(true);
        font.setPixelSize(20);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("?"));
    });
}

}  // namespace tv
