// The window forms on a screen scaled by two: every check of tst_forms again, since captions,
// tab strips and icons are measured afresh at that scale.
#include "support/FormFixtures.h"

#include <QtTest>

int main(int argc, char *argv[])
{
    // The scale is read when the application object is created.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    QTEST_DISABLE_KEYPAD_NAVIGATION
    FormFixtures checks;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&checks, argc, argv);
}
