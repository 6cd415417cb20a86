// What a start of the program does about a folder that may be in use, decided from what it found:
// start, hand over to the running program of this computer (which comes to the front), or ask the
// user first, before any window opens, whether to start anyway.
#pragma once

#include "app/InstanceMarker.h"

#include <QString>

// What a start found out about its application folder.
struct StartFacts
{
    QString thisHost;
    qint64 thisPid = 0;
    // Another program of this computer and user holds the folder's lock in the runtime folder...
    bool lockHeldByRunning = false;
    // ...and answered within the time given (it then comes to the front).
    bool runningAnswered = false;
    // The marker in the application folder, and whether its process still runs (asked only for a
    // marker of this computer).
    InstanceMarker marker;
    bool markerProcessRunning = false;
};

class StartDecision
{
public:
    enum class Action { Start, Activate, Ask };

    Action action = Action::Start;
    // For Ask: the computer the notes may be open on.
    QString host;

    static StartDecision decide(const StartFacts &facts);

    // The question asked before starting anyway; its default is No.
    static QString questionText(const QString &host);
    static QString questionCaption();
    // Names the computer of a marker that names none.
    static QString unknownHost();
};
