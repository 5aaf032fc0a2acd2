#include "ui/common/MenuBarBuilder.h"

#include <QMenu>
#include <QMenuBar>

namespace tv {

QMenu* MenuBarBuilder::menu(const char* title)
{
    const QString text = QString::fromLatin1(title);
    if (!menu_ || text != title_) {
        menu_ = bar_->addMenu(text);
        title_ = text;
    }
    return menu_;
}

}  // namespace tv
