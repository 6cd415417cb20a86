// The entries of the main window's Help menu that the Help menu handles. The main window fills it
// from its form, so the Help menu knows nothing else of the window.
#pragma once

class QAction;

struct HelpMenuView
{
    QAction *mnuHelpHelpFile = nullptr;
    QAction *mnuHelpAbout = nullptr;
    QAction *mnuHelpOnline = nullptr;
    QAction *mnuHelpOtherProducts = nullptr;
};
