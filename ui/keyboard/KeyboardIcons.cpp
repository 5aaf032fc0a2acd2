#include "ui/keyboard/KeyboardIcons.h"

#include "ui/common/ToolboxIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tv {
namespace {

const QColor outline(40, 40, 50);
const QColor recordRed(220, 30, 30);

// A quaver: a filled head with a stem and a flag, its head centred at (x, y).
void drawNote(QPainter& p, double x, double y)
{
    p.setPen(Qt::NoPen);
    p.setBrush(outline);
    p.save();
    p.translate(x, y);
    p.rotate(-20);
    p.drawEllipse(QPointF(0, 0), 3.4, 2.5);
    p.restore();
    p.setPen(QPen(outline, 1.6));
    p.drawLine(QPointF(x + 3.0, y - 0.8), QPointF(x + 3.0, y - 15));
    QPainterPath flag(QPointF(x + 3.0, y - 15));
    flag.cubicTo(QPointF(x + 4.5, y - 11), QPointF(x + 8.5, y - 10.5), QPointF(x + 7, y - 5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flag);
}

}  // namespace

QIcon openKeyboardIcon()
{
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(outline, 1.1));
        // The back of the folder with its tab, then a sheet, then the front flap swung open.
        p.setBrush(QColor(215, 170, 60));
        QPolygonF back;
        back << QPointF(3, 9) << QPointF(11, 9) << QPointF(13, 11) << QPointF(25, 11)
             << QPointF(25, 26) << QPointF(3, 26);
        p.drawPolygon(back);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 6, 15, 12));
        p.setBrush(QColor(245, 205, 95));
        QPolygonF front;
        front << QPointF(3, 26) << QPointF(8, 15) << QPointF(30, 15) << QPointF(25, 26);
        p.drawPolygon(front);
    });
}

QIcon saveKeyboardIcon()
{
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(outline, 1.1));
        p.setBrush(QColor(40, 70, 150));
        QPolygonF disk;
        disk << QPointF(4, 4) << QPointF(25, 4) << QPointF(28, 7) << QPointF(28, 28)
             << QPointF(4, 28);
        p.drawPolygon(disk);
        // The metal shutter with its window, and the label.
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(9, 4, 13, 9));
        p.setBrush(QColor(40, 70, 150));
        p.drawRect(QRectF(17, 6, 3, 5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 17, 16, 11));
        p.setPen(QPen(QColor(150, 150, 160), 0.8));
        p.drawLine(QPointF(10, 21), QPointF(22, 21));
        p.drawLine(QPointF(10, 24), QPointF(22, 24));
    });
}

QIcon saveRecordingIcon()
{
    // What a recording was kept on: a cassette with its label and two reels.
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(outline, 1.1));
        p.setBrush(QColor(70, 70, 80));
        p.drawRoundedRect(QRectF(2, 7, 28, 19), 2, 2);
        p.setBrush(QColor(240, 225, 170));
        p.drawRect(QRectF(5, 9.5, 22, 10));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(11, 14.5), 3, 3);
        p.drawEllipse(QPointF(21, 14.5), 3, 3);
        p.setPen(QPen(recordRed, 1.2));
        p.drawLine(QPointF(14.5, 14.5), QPointF(17.5, 14.5));
        p.setPen(QPen(outline, 1.0));
        p.setBrush(QColor(110, 110, 120));
        QPolygonF foot;
        foot << QPointF(8, 26) << QPointF(10, 22) << QPointF(22, 22) << QPointF(24, 26);
        p.drawPolygon(foot);
    });
}

QIcon editModeIcon()
{
    return drawnIcon([](QPainter& p) {
        // The pad: a sheet with ruled lines and rings along its top.
        p.setPen(QPen(outline, 1.0));
        p.setBrush(QColor(255, 252, 220));
        p.drawRect(QRectF(4, 6, 19, 23));
        p.setPen(QPen(QColor(120, 160, 220), 0.8));
        for (double y = 12; y < 28; y += 3.5)
            p.drawLine(QPointF(6, y), QPointF(21, y));
        p.setPen(QPen(outline, 1.0));
        p.setBrush(Qt::NoBrush);
        for (double x = 7; x < 22; x += 4)
            p.drawEllipse(QRectF(x, 3.5, 2, 4));
        // The pencil, lying across the pad from top right to bottom left.
        p.save();
        p.translate(18, 17);
        p.rotate(-50);
        p.setBrush(QColor(250, 200, 40));
        p.drawRect(QRectF(-9, -2, 16, 4));
        p.setBrush(QColor(240, 140, 160));
        p.drawRect(QRectF(7, -2, 3.5, 4));
        p.setBrush(QColor(235, 205, 160));
        QPolygonF tip;
        tip << QPointF(-9, -2) << QPointF(-14, 0) << QPointF(-9, 2);
        p.drawPolygon(tip);
        p.setBrush(outline);
        QPolygonF lead;
        lead << QPointF(-12.3, -0.7) << QPointF(-14, 0) << QPointF(-12.3, 0.7);
        p.drawPolygon(lead);
        p.restore();
    });
}

QIcon playModeIcon()
{
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(outline, 1.1));
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(QRectF(1.5, 11, 5, 8));
        QPolygonF cone;
        cone << QPointF(6.5, 11) << QPointF(13, 5) << QPointF(13, 25) << QPointF(6.5, 19);
        p.setBrush(QColor(190, 190, 200));
        p.drawPolygon(cone);
        drawNote(p, 21.5, 24);
    });
}

QIcon rewindIcon()
{
    return drawnIcon([](QPainter& p) {
        p.setPen(QPen(outline, 1.0));
        p.setBrush(QColor(40, 40, 50));
        QPolygonF triangle;
        triangle << QPointF(7, 16) << QPointF(25, 6) << QPointF(25, 26);
        p.drawPolygon(triangle);
    });
}

QIcon recordIcon(bool recording)
{
    return drawnIcon([recording](QPainter& p) {
        p.setPen(QPen(QColor(130, 0, 0), 1.0));
        p.setBrush(recordRed);
        if (recording)
            p.drawRect(QRectF(7, 7, 18, 18));
        else
            p.drawEllipse(QPointF(16, 16), 10, 10);
    });
}

}  // namespace tv
