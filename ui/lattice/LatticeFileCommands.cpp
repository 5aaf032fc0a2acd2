#include "ui/lattice/LatticeFileCommands.h"

#include "core/lattice/DisplayText.h"
#include "core/lattice/Lattice.h"
#include "core/lattice/ScalaFile.h"
#include "core/lattice/Scale.h"
#include "platform/qt/MessageService.h"
#include "ui/lattice/LatticeView.h"
#include "ui/lattice/LatticeWindow.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

namespace tv {
namespace {

// A reader's message may quote bytes of the file, in any encoding and with control
// characters; it is shown decoded and with those characters made visible.
QString messageText(const std::string& message)
{
    QString text = QString::fromStdString(displayText(message));
    for (QChar& c : text) {
        if ((c.unicode() < 32 && c != QLatin1Char('\n')) || c.unicode() == 127)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

QString caption(const QString& fileName) { return QStringLiteral("%1 - Lattice").arg(fileName); }

}  // namespace

LatticeFileCommands::LatticeFileCommands(LatticeWindow& window, MessageService& messages)
    : window_(window), messages_(messages), dialogs_(std::make_unique<SystemFileDialogs>())
{
    printer_.setDocName(printDocumentName);
    markUnmodified();
}

LatticeFileCommands::~LatticeFileCommands() = default;

void LatticeFileCommands::setDialogs(std::unique_ptr<LatticeFileDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

bool LatticeFileCommands::modified() const
{
    return scalaFileText(window_.lattice(), {}) != unmodifiedText_;
}

void LatticeFileCommands::markUnmodified()
{
    unmodifiedText_ = scalaFileText(window_.lattice(), {});
}

bool LatticeFileCommands::mayDiscard()
{
    if (!modified())
        return true;
    switch (messages_.askYesNoCancel(QStringLiteral("Save changes to %1?").arg(documentName()))) {
    case MessageService::Answer::Yes: return save();
    case MessageService::Answer::No: return true;
    default: return false;
    }
}

void LatticeFileCommands::newLattice()
{
    if (!mayDiscard() || !dialogs_->confirmNewLattice(&window_))
        return;
    window_.lattice().loadDefaultScale();
    const LatticeFileDialogs::NewLatticeShow show = dialogs_->newLatticeShow();
    window_.setShowLines(show.lines);
    window_.setShowCircle(show.circles);
    window_.setWindowTitle(LatticeWindow::untitledCaption);
    fileName_.clear();
    filePath_.clear();
    incompletePath_.clear();
    markUnmodified();
    window_.view()->invalidatePicture();
}

void LatticeFileCommands::open()
{
    if (!mayDiscard())
        return;
    const QString path = dialogs_->openScalaPath();
    if (path.isEmpty())
        return;
    const Scale scale = parseScalaFile(path.toStdString());
    if (!scale.hasHeader()) {
        // Nothing was read: the window keeps its lattice and its file.
        messages_.showMessage(messageText(scale.message));
        return;
    }
    window_.lattice().loadScale(scale);
    fileName_ = QFileInfo(path).fileName();
    filePath_ = path;
    window_.setWindowTitle(caption(fileName_));
    // Whatever was read before a failure stays and is shown, but the file holds more than
    // the lattice: it is not written over without a question.
    incompletePath_ = scale.ok() ? QString() : path;
    markUnmodified();
    window_.view()->invalidatePicture();
    if (!scale.ok())
        messages_.showMessage(messageText(scale.message));
}

bool LatticeFileCommands::save()
{
    if (filePath_.isEmpty())
        return saveAs();
    return write(filePath_);
}

bool LatticeFileCommands::saveAs()
{
    const QString path = dialogs_->saveScalaPath();
    if (path.isEmpty() || !write(path))
        return false;
    filePath_ = path;
    fileName_ = QFileInfo(path).fileName();
    window_.setWindowTitle(caption(fileName_));
    return true;
}

bool LatticeFileCommands::write(const QString& path)
{
    if (!incompletePath_.isEmpty() && path == incompletePath_) {
        const QString question = QStringLiteral("%1 was not read completely. Save over it anyway?")
                                     .arg(QFileInfo(path).fileName());
        if (messages_.askYesNo(question) != MessageService::Answer::Yes)
            return false;
    }
    const FileResult result = window_.lattice().writeScala(path.toStdString());
    if (!result.ok) {
        messages_.showMessage(messageText(result.message));
        return false;
    }
    if (path == incompletePath_)
        incompletePath_.clear();
    markUnmodified();
    return true;
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
