// Opens a URL or a document with the program the desktop associates with it.
#pragma once

#include <QUrl>

class DesktopShell
{
public:
    virtual ~DesktopShell() = default;
    // True when the desktop took the request.
    virtual bool open(const QUrl &target) = 0;
};
