#include "app/CommandLineFiles.h"

#include "ui/keyboard/KeyboardFileDialogs.h"
#include "ui/keyboard/KeyboardWindow.h"
#include "ui/lattice/LatticeFileCommands.h"
#include "ui/lattice/LatticeFileDialogs.h"
#include "ui/lattice/LatticeWindow.h"

#include <memory>

namespace tv {
namespace {

// Answers the open question with the given path; every other question goes to the system's
// dialogs as usual.
class GivenScalePath : public SystemFileDialogs {
public:
    explicit GivenScalePath(const QString& path) : path_(path) {}
    QString openScalaPath() override { return path_; }

private:
    QString path_;
};

class GivenKeyboardPath : public KeyboardFileDialogs {
public:
    GivenKeyboardPath(const QString& path, QWidget* parent) : path_(path), system_(parent) {}
    QString askPath(const FileQuestion& question) override
    {
        return question.mode == FileQuestion::Mode::Open ? path_ : system_.askPath(question);
    }

private:
    QString path_;
    SystemKeyboardFileDialogs system_;
};

}  // namespace

void openScaleInto(LatticeWindow& window, const QString& path)
{
    window.files().setDialogs(std::make_unique<GivenScalePath>(path));
    window.files().open();
    window.files().setDialogs(std::make_unique<SystemFileDialogs>());
}

void openKeyboardInto(KeyboardWindow& window, const QString& path)
{
    window.files().setDialogs(std::make_unique<GivenKeyboardPath>(path, &window));
    window.runCommand(KeyCommand::Open);
    window.files().setDialogs(std::make_unique<SystemKeyboardFileDialogs>(&window));
}

}  // namespace tv
