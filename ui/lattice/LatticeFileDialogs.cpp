#include "ui/lattice/LatticeFileDialogs.h"

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

QString askPath(QFileDialog::AcceptMode mode, const QString& filter, const QString& suffix)
{
    QFileDialog dialog(nullptr);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // Replacing an existing file is confirmed by the dialog (its default).
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

QString SystemFileDialogs::openScalaPath()
{
    return askPath(QFileDialog::AcceptOpen, scalaFilter, QStringLiteral("scl"));
}

QString SystemFileDialogs::saveScalaPath()
{
    return askPath(QFileDialog::AcceptSave, scalaFilter, QStringLiteral("scl"));
}

QString SystemFileDialogs::saveImagePath()
{
    return askPath(QFileDialog::AcceptSave, QStringLiteral("PNG images (*.png *.PNG)"),
                   QStringLiteral("png"));
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

bool SystemFileDialogs::confirmNewLattice(QWidget* parent)
{
    NewLatticeDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    newLatticeShow_ = {dialog.controls().linesBox->isChecked(),
                       dialog.controls().circlesBox->isChecked()};
    return true;
}

}  // namespace tv
