// The look of the seven save marks in the "Save Summary:" frame. The frame is disabled so that a
// click changes nothing, yet its texts are drawn as enabled, in the palette's own text colour. At
// rest a mark paints no background of its own; a saved mark is filled pure green with a black
// caption, in a light and a dark palette alike.
#pragma once

#include <QColor>

class QCheckBox;
class QWidget;

class SaveMarkLook
{
public:
    static QColor savedColour() { return QColor(0, 255, 0); }
    static QColor savedTextColour() { return QColor(0, 0, 0); }

    // The disabled frame takes the colours of an enabled one.
    static void prepareFrame(QWidget *frame);
    static void show(QCheckBox *mark, bool saved);
    static bool showsSaved(const QCheckBox *mark);
};
