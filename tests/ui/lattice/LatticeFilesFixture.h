#pragma once

#include "LatticeWindowFixture.h"

#include "ui/lattice/LatticeFileCommands.h"
#include "ui/lattice/LatticeTuningFiles.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QPrinter>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

namespace tv::test {

// Answers the keyboard mapping and tuning dialogs with prepared paths.
struct PreparedTuningDialogs : TuningFileDialogs {
    std::deque<QString> paths;
    TuningFileFormat format = TuningFileFormat::AnaMark;

    QString next()
    {
        if (paths.empty())
            return {};
        QString path = paths.front();
        paths.pop_front();
        return path;
    }
    QString openMappingPath() override { return next(); }
    QString saveMappingPath() override { return next(); }
    QString exportTuningPath(TuningFileFormat& chosen) override
    {
        chosen = format;
        return next();
    }
};

// Answers the file dialogs with prepared paths; printing goes to a PDF file.
struct FakeDialogs : LatticeFileDialogs {
    std::deque<QString>* openPaths;
    std::deque<QString>* savePaths;
    QString imagePath;
    QString pdfPath;
    QString exportPdfPath;
    QString exportSvgPath;
    // What the New dialog answers; nothing for Cancel.
    std::optional<NewLatticeChoice> newChoice = NewLatticeChoice{};
    int newStyleOffered = -1;
    int* saveAsked;

    QString openScalaPath() override { return take(*openPaths); }
    QString saveScalaPath() override
    {
        ++*saveAsked;
        return take(*savePaths);
    }
    QString saveImagePath() override { return imagePath; }
    QString savePdfPath() override { return exportPdfPath; }
    QString saveSvgPath() override { return exportSvgPath; }
    bool choosePrinter(QPrinter& printer) override
    {
        if (pdfPath.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
        return true;
    }
    void pageSetup(QPrinter&) override {}
    std::optional<NewLatticeChoice> chooseNewLattice(QWidget*, int style, MessageService&) override
    {
        newStyleOffered = style;
        return newChoice;
    }

    static QString take(std::deque<QString>& paths)
    {
        if (paths.empty())
            return {};
        QString path = paths.front();
        paths.pop_front();
        return path;
    }
};

// Runs `answer` on the next modal dialog that opens.
inline void whenDialogOpens(std::function<void(QDialog*)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
}

struct LatticeFiles : LatticeWindowFixture {
    LatticeWindow* window = nullptr;
    FakeDialogs* dialogs = nullptr;
    std::deque<QString> openPaths, savePaths;
    int saveAsked = 0;

    void SetUp() override
    {
        LatticeWindowFixture::SetUp();
        window = openWindow();
        auto fake = std::make_unique<FakeDialogs>();
        fake->openPaths = &openPaths;
        fake->savePaths = &savePaths;
        fake->saveAsked = &saveAsked;
        dialogs = fake.get();
        window->files().setDialogs(std::move(fake));
    }
    void TearDown() override { delete window; }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

}  // namespace tv::test
