#include "ui/editor/ScriptEditorMenus.h"

#include "ui/common/MenuBarBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tv {
namespace {

struct MenuItem {
    const char* menu;
    const char* caption;  // nullptr: a separator
    EditorCommand command;
};

using C = EditorCommand;

// No shortcuts: the text field has its own for cut, copy and paste, and a window-wide one
// would act on the text field while a list has the focus.
constexpr MenuItem menuItems[] = {
    {"&Script", "Compile and &Save...", C::CompileAndSave},
    {"&Script", "&Revert", C::Revert},
    {"&Script", nullptr, C::Count},
    {"&Script", "Page Set&up...", C::PageSetup},
    {"&Script", "&Print...", C::Print},
    {"&Edit", "Cu&t", C::Cut},
    {"&Edit", "&Copy", C::Copy},
    {"&Edit", "&Paste", C::Paste},
};

}  // namespace

ScriptEditorMenus::ScriptEditorMenus(QMenuBar* bar, std::function<void(EditorCommand)> onCommand)
    : QObject(bar)
{
    MenuBarBuilder menus(bar);
    for (const MenuItem& item : menuItems) {
        QMenu* menu = menus.menu(item.menu);
        if (!item.caption) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromLatin1(item.caption));
        const EditorCommand command = item.command;
        connect(action, &QAction::triggered, this, [onCommand, command] { onCommand(command); });
        actions_[static_cast<std::size_t>(command)] = action;
    }
}

}  // namespace tv
