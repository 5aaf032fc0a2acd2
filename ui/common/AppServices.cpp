#include "ui/common/AppServices.h"

#include "ui/common/WindowPlacement.h"

namespace tv {

void AppServices::restorePlacement(QWidget& window, const QString& valueName)
{
    tv::restorePlacement(window, settings(), messages(), valueName);
}

void AppServices::savePlacement(const QWidget& window, const QString& valueName)
{
    tv::savePlacement(window, settings(), valueName);
}

}  // namespace tv
