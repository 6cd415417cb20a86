// A Clock for tests that always tells the same day.
#pragma once

#include "platform/Clock.h"

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDate date = QDate(2026, 12, 9))
        : date(date)
    { }
    QDate today() const override { return date; }
    QDate date;
};
