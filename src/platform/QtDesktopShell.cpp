#include "platform/QtDesktopShell.h"

#include <QDesktopServices>

bool QtDesktopShell::open(const QUrl &target)
{
    return QDesktopServices::openUrl(target);
}
