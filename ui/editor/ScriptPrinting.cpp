#include "ui/editor/ScriptPrinting.h"

#include <QFont>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace tv {

bool SystemPrintDialogs::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, nullptr);
    // One page of the whole text: no selection, no page range, no print-to-file box.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    return dialog.exec() == QDialog::Accepted;
}

void SystemPrintDialogs::pageSetup(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, nullptr);
    dialog.exec();
}

bool printScriptPage(QPrinter& printer, const QString& text, const QFont& font)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The painter's origin is the top left of the printable area.
    const QRect page(QPoint(0, 0), printer.pageRect(QPrinter::DevicePixel).size().toSize());
    painter.setClipRect(page);
    painter.setFont(font);
    painter.drawText(page, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, text);
    painter.end();
    return true;
}

}  // namespace tv
