#include "ui/lattice/LatticeFileCommands.h"

#include "core/lattice/DisplayText.h"
#include "core/lattice/Lattice.h"
#include "core/lattice/OddLimitDiamond.h"
#include "core/lattice/ScalaFile.h"
#include "core/lattice/Scale.h"
#include "platform/qt/MessageService.h"
#include "ui/common/FileSuggestion.h"
#include "ui/lattice/LatticeEditHistory.h"
#include "ui/lattice/RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

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

QString cannotWrite(const QString& path)
{
    return QStringLiteral("Unable to open %1 for writing").arg(path);
}

}  // namespace

LatticeFileCommands::LatticeFileCommands(LatticeFileHost& host, LatticeEditHistory& edits,
                                         MessageService& messages, SettingsStore& settings)
    : host_(host), edits_(edits), messages_(messages), settings_(settings),
      dialogs_(std::make_unique<SystemFileDialogs>())
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
    return scalaFileText(host_.lattice().toScale(), {}) != document_.unmodifiedText;
}

void LatticeFileCommands::markUnmodified()
{
    document_.unmodifiedText = scalaFileText(host_.lattice().toScale(), {});
}

void LatticeFileCommands::setDocument(const Document& document)
{
    document_ = document;
    host_.setCaption(caption(documentName()));
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
    if (!mayDiscard())
        return;
    Lattice& lattice = host_.lattice();
    const std::optional<NewLatticeChoice> choice =
        dialogs_->chooseNewLattice(host_.dialogParent(), lattice.style(), messages_);
    if (!choice)
        return;
    LatticeEditHistory::State before = edits_.capture(true);
    // Emptied first, so the old elements are not laid out again for nothing.
    lattice.clear();
    lattice.setStyle(choice->style);
    if (choice->limit == 0)
        lattice.loadDefaultScale();
    else
        lattice.loadScale(oddLimitDiamondScale(choice->limit));
    setDocument({});
    host_.applyNewChoice(*choice);
    markUnmodified();
    edits_.record(std::move(before));
    host_.latticeReplaced();
}

void LatticeFileCommands::open()
{
    if (!mayDiscard())
        return;
    const QString path = ask(&LatticeFileDialogs::openScalaPath, QStringLiteral("scl"));
    if (!path.isEmpty())
        load(path);
}

void LatticeFileCommands::openFile(const QString& path)
{
    if (mayDiscard())
        load(path);
}

void LatticeFileCommands::load(const QString& path)
{
    const Scale scale = parseScalaFile(path.toStdString());
    if (!scale.hasHeader()) {
        // Nothing was read: the window keeps its lattice and its file.
        messages_.showMessage(messageText(scale.message));
        if (scale.outcome == Scale::Outcome::unableToOpen)
            RecentFiles(settings_).remove(path);
        return;
    }
    host_.lattice().loadScale(scale);
    // Whatever was read before a failure stays and is shown, but the file holds more than
    // the lattice: it is not written over without a question.
    setDocument({QFileInfo(path).fileName(), path, scale.ok() ? QString() : path, {}});
    markUnmodified();
    RecentFiles(settings_).add(path);
    // Another file is another document: the steps of the last one do not apply to it.
    edits_.clear();
    host_.latticeReplaced();
    if (!scale.ok())
        messages_.showMessage(messageText(scale.message));
}

bool LatticeFileCommands::save()
{
    if (document_.filePath.isEmpty())
        return saveAs();
    return write(document_.filePath);
}

bool LatticeFileCommands::saveAs()
{
    const QString path = ask(&LatticeFileDialogs::saveScalaPath, QStringLiteral("scl"));
    if (path.isEmpty() || !write(path))
        return false;
    document_.filePath = path;
    document_.fileName = QFileInfo(path).fileName();
    host_.setCaption(caption(document_.fileName));
    RecentFiles(settings_).add(path);
    return true;
}

bool LatticeFileCommands::write(const QString& path)
{
    if (!document_.incompletePath.isEmpty() && path == document_.incompletePath) {
        const QString question = QStringLiteral("%1 was not read completely. Save over it anyway?")
                                     .arg(QFileInfo(path).fileName());
        if (messages_.askYesNo(question) != MessageService::Answer::Yes)
            return false;
    }
    const FileResult result = host_.lattice().writeScala(path.toStdString());
    if (!result.ok) {
        messages_.showMessage(messageText(result.message));
        return false;
    }
    if (path == document_.incompletePath)
        document_.incompletePath.clear();
    markUnmodified();
    return true;
}

QString LatticeFileCommands::ask(QString (LatticeFileDialogs::*question)(), const QString& suffix)
{
    // The dialog starts at the lattice's file, named for the type asked for; without one in
    // the folder used last, this run or else for the latest recent file.
    QString folder = lastChosenFolder();
    if (folder.isEmpty()) {
        const QStringList recent = RecentFiles(settings_).paths();
        if (!recent.isEmpty())
            folder = QFileInfo(recent.constFirst()).absolutePath();
    }
    dialogs_->suggest(suggestedSavePath(document_.filePath, suffix, folder));
    const QString path = (dialogs_.get()->*question)();
    rememberChosenFile(path);
    return path;
}

void LatticeFileCommands::writePicture(const QString& path,
                                       const std::function<bool(QIODevice&)>& write)
{
    if (path.isEmpty())
        return;
    // The old file is replaced only once the whole picture has been written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !write(file) || !file.commit())
        messages_.showMessage(cannotWrite(path));
}

void LatticeFileCommands::paintPicture(QPaintDevice& device)
{
    QPainter painter(&device);
    host_.drawLattice(painter);
}

void LatticeFileCommands::saveBitmap()
{
    writePicture(ask(&LatticeFileDialogs::saveImagePath, QStringLiteral("png")),
                 [this](QIODevice& file) {
                     QImage image(host_.pictureSize(), QImage::Format_RGB32);
                     paintPicture(image);
                     return image.save(&file, "PNG");
                 });
}

void LatticeFileCommands::exportPdf()
{
    writePicture(ask(&LatticeFileDialogs::savePdfPath, QStringLiteral("pdf")),
                 [this](QIODevice& file) {
                     // One page just the picture's size, one PDF unit per screen pixel, no margins.
                     QPdfWriter pdf(&file);
                     const int dpi = host_.pictureDpi();
                     const QSize size = host_.pictureSize();
                     pdf.setResolution(dpi);
                     pdf.setCreator(QStringLiteral("Tonalvane"));
                     pdf.setTitle(documentName());
                     pdf.setPageMargins(QMarginsF());
                     pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / dpi, QPageSize::Point,
                                               QString(), QPageSize::ExactMatch));
                     paintPicture(pdf);
                     return true;
                 });
}

void LatticeFileCommands::exportSvg()
{
    writePicture(ask(&LatticeFileDialogs::saveSvgPath, QStringLiteral("svg")),
                 [this](QIODevice& file) {
                     QSvgGenerator svg;
                     svg.setOutputDevice(&file);
                     const QSize size = host_.pictureSize();
                     svg.setSize(size);
                     svg.setViewBox(QRect(QPoint(), size));
                     svg.setResolution(host_.pictureDpi());
                     svg.setTitle(documentName());
                     paintPicture(svg);
                     return true;
                 });
}

void LatticeFileCommands::fillRecentMenu(QMenu* menu)
{
    menu->clear();
    const QStringList paths = RecentFiles(settings_).paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        // "&1" to "&8": the digits are the access keys; "&&" keeps a file's own ampersands.
        QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path));
        text.replace(QStringLiteral("&"), QStringLiteral("&&")).remove(0, 1);
        QAction* item = menu->addAction(text);
        QObject::connect(item, &QAction::triggered, menu, [this, path] { openFile(path); });
    }
    menu->menuAction()->setEnabled(!paths.isEmpty());
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
    host_.drawLattice(painter);
    painter.end();
}

}  // namespace tv
