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
    if (!m_pending)
        return std::nullopt;
    // Moved away from the position: by the user, or by a window manager that placed the frame
    // itself. Either way the window is where it should be.
    if (clientPosition != m_framePosition) {
        m_pending = false;
        return std::nullopt;
    }
    if (frameMargins.isNull())
        return std::nullopt;
    m_pending = false;
    const QPoint wanted = clientPositionFor(m_framePosition, frameMargins);
    if (wanted == clientPosition)
        return std::nullopt;
    return wanted;
}
