#include "daynotes/SaveMarkLook.h"

#include <QCheckBox>

namespace {
constexpr QPalette::ColorRole textRoles[]
    = { QPalette::WindowText, QPalette::Text, QPalette::ButtonText };
constexpr QPalette::ColorGroup groups[]
    = { QPalette::Active, QPalette::Inactive, QPalette::Disabled };
} // namespace

void SaveMarkLook::prepareFrame(QWidget *frame)
{
    if (!frame)
        return;
    // Every role, not just the texts: the style draws a disabled check box's square from others.
    QPalette palette = frame->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto colourRole = QPalette::ColorRole(role);
        palette.setColor(
            QPalette::Disabled, colourRole, palette.color(QPalette::Active, colourRole));
    }
    frame->setPalette(palette);
}

void SaveMarkLook::show(QCheckBox *mark, bool saved)
{
    if (!saved) {
        // Back to what the frame around it has.
        mark->setPalette(QPalette());
        mark->setAutoFillBackground(false);
        return;
    }
    QPalette palette = mark->palette();
    for (const QPalette::ColorGroup group : groups) {
        palette.setColor(group, QPalette::Window, savedColour());
        palette.setColor(group, mark->backgroundRole(), savedColour());
        for (const QPalette::ColorRole role : textRoles)
            palette.setColor(group, role, savedTextColour());
    }
    mark->setPalette(palette);
    mark->setAutoFillBackground(true);
}

bool SaveMarkLook::showsSaved(const QCheckBox *mark)
{
    return mark->autoFillBackground()
        && mark->palette().color(QPalette::Disabled, mark->backgroundRole()) == savedColour();
}
