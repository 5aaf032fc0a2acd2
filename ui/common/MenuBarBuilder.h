#pragma once

#include <QString>

class QMenu;
class QMenuBar;

namespace tv {

// Fills a menu bar from a table whose rows name their menu: consecutive rows with the same
// title go into one menu, and a new title starts the next menu.
class MenuBarBuilder {
public:
    explicit MenuBarBuilder(QMenuBar* bar) : bar_(bar) {}

    // The menu a row titled `title` goes into.
    QMenu* menu(const char* title);

private:
    QMenuBar* bar_;
    QMenu* menu_ = nullptr;
    QString title_;
};

}  // namespace tv
