#include "app/StartDecision.h"

StartDecision StartDecision::decide(const StartFacts &facts)
{
    if (facts.lockHeldByRunning) {
        // A program of this computer that does not answer may be busy, or hung with unsaved notes.
        if (facts.runningAnswered)
            return { Action::Activate, {} };
        return { Action::Ask, facts.thisHost };
    }
    switch (facts.marker.kind) {
    case InstanceMarker::Kind::None:
        return { Action::Start, {} };
    case InstanceMarker::Kind::Unreadable:
        return { Action::Ask, unknownHost() };
    case InstanceMarker::Kind::Written:
        break;
    }
    if (facts.marker.host.compare(facts.thisHost, Qt::CaseInsensitive) != 0)
        return { Action::Ask, facts.marker.host };
    // A marker of this computer whose program is gone was left by a crash or a power cut.
    if (facts.marker.pid == facts.thisPid || !facts.markerProcessRunning)
        return { Action::Start, {} };
    // Still running, without the lock of this user: another user, or a session with a runtime
    // folder of its own.
    return { Action::Ask, facts.thisHost };
}

QString StartDecision::questionText(const QString &host)
{
    return QStringLiteral("These notes may be open in Quillmark on %1.  Two programs saving the "
                          "same notes overwrite each other's notes.\r\n\r\nStart anyway?")
        .arg(host);
}

QString StartDecision::questionCaption()
{
    return QStringLiteral("Notes In Use");
}

QString StartDecision::unknownHost()
{
    return QStringLiteral("another computer");
}
