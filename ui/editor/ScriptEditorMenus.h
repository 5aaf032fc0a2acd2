#pragma once

#include <QObject>

#include <array>
#include <cstddef>
#include <functional>

class QAction;
class QMenuBar;

namespace tv {

// Every command of a script editor's menu bar, in menu order.
enum class EditorCommand { CompileAndSave, Revert, PageSetup, Print, Cut, Copy, Paste, Count };

// Builds the menu bar of a script editor from one table of items and reports chosen commands.
class ScriptEditorMenus : public QObject {
    Q_OBJECT
public:
    ScriptEditorMenus(QMenuBar* bar, std::function<void(EditorCommand)> onCommand);

    QAction* action(EditorCommand command) const
    {
        return actions_[static_cast<std::size_t>(command)];
    }

private:
    std::array<QAction*, static_cast<std::size_t>(EditorCommand::Count)> actions_{};
};

}  // namespace tv
