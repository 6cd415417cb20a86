#include "mainwindow/FramePlacement.h"

void FramePlacement::start(const QPoint &framePosition)
{
    m_framePosition = framePosition;
    m_pending = true;
}

QPoint FramePlacement::clientPositionFor(const QPoint &framePosition, const QMargins &frameMargins)
{
    return framePosition + QPoint(frameMargins.left(), frameMargins.top());
}

std::optional<QPoint> FramePlacement::clientMove(
    const QPoint &clientPosition, const QMargins &frameMargins)
{
    if (!m_pending || frameMargins.isNull())
        return std::nullopt;
    m_pending = false;
    const QPoint wanted = clientPositionFor(m_framePosition, frameMargins);
    // Where the window manager placed the frame itself, nothing moves.
    if (clientPosition == wanted)
        return std::nullopt;
    return wanted;
}
