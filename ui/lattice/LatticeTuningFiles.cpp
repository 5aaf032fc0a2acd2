#include "ui/lattice/LatticeTuningFiles.h"

#include "core/lattice/DisplayText.h"
#include "core/lattice/Lattice.h"
#include "core/tuning/TuningExport.h"
#include "platform/qt/MessageService.h"

#include <QFileDialog>

namespace tv {
namespace {

const QString mappingFilter = QStringLiteral("Scala keyboard mappings (*.kbm *.KBM)");

// A file name's bytes may be anything: control characters are not shown as such.
QString shown(const std::string& message)
{
    QString text = QString::fromStdString(displayText(message));
    for (QChar& c : text) {
        if ((c.unicode() < 32 && c != QLatin1Char('\n')) || c.unicode() == 127)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

QString askPath(QFileDialog::AcceptMode mode, const QStringList& filters, const QString& suffix,
                QString* chosenFilter = nullptr)
{
    QFileDialog dialog(nullptr);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString SystemTuningFileDialogs::openMappingPath()
{
    return askPath(QFileDialog::AcceptOpen, {mappingFilter}, QStringLiteral("kbm"));
}

QString SystemTuningFileDialogs::saveMappingPath()
{
    return askPath(QFileDialog::AcceptSave, {mappingFilter}, QStringLiteral("kbm"));
}

QString SystemTuningFileDialogs::exportTuningPath(TuningFileFormat& format)
{
    QString filter;
    const QString path = askPath(QFileDialog::AcceptSave, {anaMarkFilter, dumpFilter},
                                 QStringLiteral("tun"), &filter);
    format = filter == dumpFilter ? TuningFileFormat::Dump : TuningFileFormat::AnaMark;
    return path;
}

LatticeTuningFiles::LatticeTuningFiles(const Lattice& lattice, MessageService& messages)
    : lattice_(lattice), messages_(messages), dialogs_(std::make_unique<SystemTuningFileDialogs>())
{
}

LatticeTuningFiles::~LatticeTuningFiles() = default;

void LatticeTuningFiles::setDialogs(std::unique_ptr<TuningFileDialogs> dialogs)
{
    dialogs_ = std::move(dialogs);
}

void LatticeTuningFiles::openMapping()
{
    const QString path = dialogs_->openMappingPath();
    if (path.isEmpty())
        return;
    const KeyboardMappingRead read = readKeyboardMappingFile(path.toStdString());
    if (!read.ok) {
        messages_.showMessage(shown(read.message));
        return;
    }
    mapping_ = read.mapping;
    if (changed_)
        changed_();
}

void LatticeTuningFiles::saveMapping()
{
    const QString path = dialogs_->saveMappingPath();
    if (path.isEmpty())
        return;
    const FileResult written = writeKeyboardMappingFile(mapping_, path.toStdString());
    if (!written.ok)
        messages_.showMessage(shown(written.message));
}

void LatticeTuningFiles::exportTuning()
{
    TuningFileFormat format = TuningFileFormat::AnaMark;
    const QString path = dialogs_->exportTuningPath(format);
    if (path.isEmpty())
        return;
    const KeyTunings tunings = keyTunings(KeyScale(lattice_), mapping_);
    const std::string bytes = format == TuningFileFormat::Dump
                                  ? tuningDump(tunings, lattice_.title()).bytes
                                  : anaMarkTuningText(tunings, lattice_.title());
    const FileResult written = writeTuningFile(path.toStdString(), bytes);
    if (!written.ok)
        messages_.showMessage(shown(written.message));
}

}  // namespace tv
