// A DesktopShell for tests: records every target instead of opening it.
#pragma once

#include "platform/DesktopShell.h"

#include <QList>

class RecordingShell : public DesktopShell
{
public:
    bool open(const QUrl &target) override
    {
        opened.append(target);
        return answer;
    }

    QList<QUrl> opened;
    bool answer = true;
};
