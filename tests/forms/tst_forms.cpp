// The window forms at the ordinary scale: definitions, geometry, fit, focus order, keys and clicks.
#include "support/FormFixtures.h"

#include <QtTest>

QTEST_MAIN(FormFixtures)
