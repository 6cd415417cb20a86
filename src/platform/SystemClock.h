// The Clock of the real program: the local date of the system clock.
#pragma once

#include "platform/Clock.h"

class SystemClock : public Clock
{
public:
    QDate today() const override { return QDate::currentDate(); }
};
