#include "app/SingleInstance.h"

#include "app/StartDecision.h"
#include "platform/Prompter.h"

SingleInstance::SingleInstance(const QString &applicationFolder, QObject *parent)
    : QObject(parent)
    , m_applicationFolder(applicationFolder)
    , m_local(applicationFolder)
{
    connect(
        &m_local, &LocalInstance::activationRequested, this, &SingleInstance::activationRequested);
}

SingleInstance::~SingleInstance()
{
    if (m_written.kind == InstanceMarker::Kind::Written)
        m_written.removeIfOwn(m_applicationFolder);
}

bool SingleInstance::claim(Prompter &prompter)
{
    const InstanceMarker self = InstanceMarker::thisProgram();
    StartFacts facts;
    facts.thisHost = self.host;
    facts.thisPid = self.pid;
    const LocalInstance::Lock lock = m_local.tryLock();
    if (lock == LocalInstance::Lock::HeldByRunning) {
        facts.lockHeldByRunning = true;
        facts.runningAnswered = m_local.askRunningToComeForward(answerTimeoutMs);
    }
    facts.marker = InstanceMarker::read(m_applicationFolder);
    if (facts.marker.isOfThisComputer())
        facts.markerProcessRunning = InstanceMarker::processRunning(facts.marker.pid);

    const StartDecision decision = StartDecision::decide(facts);
    if (decision.action == StartDecision::Action::Activate)
        return false;
    if (decision.action == StartDecision::Action::Ask
        && prompter.question(StartDecision::questionText(decision.host),
               StartDecision::questionCaption(), Prompter::Answer::No)
            == Prompter::Answer::No)
        return false;

    if (lock == LocalInstance::Lock::Taken)
        m_local.listen();
    // A read-only folder takes no marker; its notes cannot be saved either, which the program
    // reports when it tries.
    if (self.write(m_applicationFolder))
        m_written = self;
    return true;
}
