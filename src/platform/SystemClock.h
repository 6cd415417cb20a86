// The Clock of the real program: the system clock.
#pragma once

#include "platform/Clock.h"

class SystemClock : public Clock
{
public:
    QDate today() const override { return QDate::currentDate(); }
    QDateTime nowUtc() const override { return QDateTime::currentDateTimeUtc(); }
};
