// Puts a window's frame, not just its client area, at a stored position. Before a window is first
// shown the window manager has not framed it yet, so a move then places the client area at the
// position and the frame lands above and left of it by the frame's size: with the frame's position
// stored at every close, the window would creep by that much on every start, and a window stored at
// the top of the screen would open with its title bar above it. Whenever the platform first reports
// the frame's margins, however late, a client area still at the position moves down and right by
// them, once; a window the user or the window manager has moved by then is left where it is.
#pragma once

#include <QMargins>
#include <QPoint>
#include <optional>

class FramePlacement
{
public:
    // The frame's top-left is to go to framePosition.
    void start(const QPoint &framePosition);
    void stop() { m_pending = false; }
    bool isPending() const { return m_pending; }

    // Where to move the client area now, given where it is and the frame's margins as the platform
    // reports them (all zero while it does not know them). Nothing while the margins are unknown,
    // when the frame is already in place, and after the one correction; once the client area has
    // left the position by another hand, the placement ends without a move.
    std::optional<QPoint> clientMove(const QPoint &clientPosition, const QMargins &frameMargins);

    // The client position that puts the frame's top-left at framePosition.
    static QPoint clientPositionFor(const QPoint &framePosition, const QMargins &frameMargins);

private:
    QPoint m_framePosition;
    bool m_pending = false;
};
