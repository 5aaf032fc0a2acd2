#include "ui/lattice/LatticeFileCommands.h"

#include "core/lattice/Lattice.h"
#include "platform/qt/MessageService.h"
#include "ui/lattice/LatticeView.h"
#include "ui/lattice/LatticeWindow.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

namespace tv {

LatticeFileCommands::LatticeFileCommands(LatticeWindow& window, MessageService& messages)
    : window_(window), messages_(messages), dialogs_(std::make_unique<SystemFileDialogs>())
{
    printer_.setDocName(printDocumentName);
}

LatticeFileCommands::~LatticeFileCommands() = default;

void LatticeFileCommands::setDialogs(std::unique_ptr<LatticeFileDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

void LatticeFileCommands::newLattice()
{
    if (!dialogs_->confirmNewLattice(&window_))
        return;
    window_.lattice().loadDefaultScale();
    window_.setWindowTitle(LatticeWindow::untitledCaption);
    fileName_.clear();
    filePath_.clear();
    window_.view()->invalidatePicture();
}

void LatticeFileCommands::open()
{
    const QString path = dialogs_->openScalaPath();
    if (path.isEmpty())
        return;
    fileName_ = QFileInfo(path).fileName();
    filePath_ = path;
    window_.setWindowTitle(QStringLiteral("%1 - Lattice").arg(fileName_));
    const FileResult result = window_.lattice().readScala(filePath_.toStdString());
    // Whatever was read before a failure stays, so the picture is repainted in any case.
    window_.view()->invalidatePicture();
    if (!result.ok)
        messages_.showMessage(QString::fromStdString(result.message));
}

void LatticeFileCommands::save()
{
    if (filePath_.isEmpty()) {
        saveAs();
        return;
    }
    write();
}

void LatticeFileCommands::saveAs()
{
    const QString path = dialogs_->saveScalaPath();
    if (path.isEmpty())
        return;
    filePath_ = path;
    fileName_ = QFileInfo(path).fileName();
    write();
}

bool LatticeFileCommands::write()
{
    const FileResult result = window_.lattice().writeScala(filePath_.toStdString());
    if (!result.ok)
        messages_.showMessage(QString::fromStdString(result.message));
    return result.ok;
}

void LatticeFileCommands::saveBitmap()
{
    const QString path = dialogs_->saveImagePath();
    if (path.isEmpty())
        return;
    QImage image(window_.view()->size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        window_.drawLattice(painter);
    }
    // The old file is replaced only once the whole image has been written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        messages_.showMessage(QStringLiteral("Unable to open %1 for writing").arg(path));
}

void LatticeFileCommands::pageSetup() { dialogs_->pageSetup(printer_); }

void LatticeFileCommands::print()
{
    if (!dialogs_->choosePrinter(printer_))
        return;
    if (!printer_.isValid()) {
        messages_.showMessage(QStringLiteral("Unable to attach printer DC"));
        return;
    }
    printer_.setDocName(printDocumentName);
    QPainter painter;
    if (!painter.begin(&printer_)) {
        messages_.showMessage(QStringLiteral("Unable to start document"));
        return;
    }
    // One page: the picture at the window's size in printer dots, from the top left of the
    // printable area.
    window_.drawLattice(painter);
    painter.end();
}

}  // namespace tv
