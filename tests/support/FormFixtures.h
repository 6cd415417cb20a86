// The checks of the three window forms (main, help, splash), each form built on a plain window with
// setupUi. Shared by tst_forms and tst_forms_scaled, which run them at scale factors 1 and 2.
#pragma once

#include <QObject>

class FormFixtures : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    // What the forms hold.
    void mainWindowDefinition();
    void geometry_data();
    void geometry();
    void stacking();
    void weekTabsLeaveRoomForDayBoxes();
    void dayBoxesKeepTheSizeSetBeforeShowing();
    void helpWindowDefinition();
    void splashWindowDefinition();
    void splashPicture();
    void iconsAreDrawnAtEverySize_data();
    void iconsAreDrawnAtEverySize();
    void buttonsShowTheirIcons();

    // How the forms look and behave.
    void captionsFit_data();
    void captionsFit();
    void mainKeyboardOrder();
    void helpKeyboardOrder();
    void storedFileCheckBoxLiesOverViewFile();
    void saveMarksTakeNoClickAndNoFocus();
    void saveMarksAreDrawnEnabled();
    void saveMarkBackColourShows();
    void accessKeysPressEnabledButtons_data();
    void accessKeysPressEnabledButtons();
    void accessKeysOpenMenus();
    void menus();
    void shortcutsActFromEveryControl_data();
    void shortcutsActFromEveryControl();
    void everyControlHasAnAccessibleName();

    // Pictures of the windows for a person to look at (only with QUILLMARK_FORMS_GRAB_DIR set).
    void grabWindows();
};
