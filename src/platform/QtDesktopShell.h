// The DesktopShell of the real program: QDesktopServices, which never passes the target to a shell.
#pragma once

#include "platform/DesktopShell.h"

class QtDesktopShell : public DesktopShell
{
public:
    bool open(const QUrl &target) override;
};
