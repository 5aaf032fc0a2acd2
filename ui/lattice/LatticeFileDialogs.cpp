#include "ui/lattice/LatticeFileDialogs.h"

#include "ui/common/FileSuggestion.h"
#include "ui/lattice/NewLatticeDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace tv {
namespace {

// "Scala files"; the pattern lists both cases because file names are case-sensitive here.
const QString scalaFilter = QStringLiteral("Scala files (*.SCL *.scl)");

// An empty title leaves the platform's own.
QString askPath(const QString& suggestion, QFileDialog::AcceptMode mode, const QString& filter,
                const QString& suffix, const QString& title = {})
{
    QFileDialog dialog(nullptr);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::ReadOnly, false);
    startDialogAt(dialog, suggestion);
    // Replacing an existing file is confirmed by the dialog (its default).
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString SystemFileDialogs::openScalaPath()
{
    return askPath(suggestion(), QFileDialog::AcceptOpen, scalaFilter, QStringLiteral("scl"));
}

QString SystemFileDialogs::saveScalaPath()
{
    return askPath(suggestion(), QFileDialog::AcceptSave, scalaFilter, QStringLiteral("scl"));
}

QString SystemFileDialogs::saveImagePath()
{
    return askPath(suggestion(), QFileDialog::AcceptSave,
                   QStringLiteral("PNG images (*.png *.PNG)"), QStringLiteral("png"),
                   QStringLiteral("Save Bitmap"));
}

QString SystemFileDialogs::savePdfPath()
{
    return askPath(suggestion(), QFileDialog::AcceptSave,
                   QStringLiteral("PDF documents (*.pdf *.PDF)"), QStringLiteral("pdf"),
                   QStringLiteral("Export PDF"));
}

QString SystemFileDialogs::saveSvgPath()
{
    return askPath(suggestion(), QFileDialog::AcceptSave,
                   QStringLiteral("SVG images (*.svg *.SVG)"), QStringLiteral("svg"),
                   QStringLiteral("Export SVG"));
}

bool SystemFileDialogs::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, nullptr);
    // All pages: no selection, no page range, no print-to-file box.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    return dialog.exec() == QDialog::Accepted;
}

void SystemFileDialogs::pageSetup(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, nullptr);
    dialog.exec();
}

std::optional<NewLatticeChoice> SystemFileDialogs::chooseNewLattice(QWidget* parent, int style,
                                                                    MessageService& messages)
{
    NewLatticeDialog dialog(messages, style, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

}  // namespace tv
