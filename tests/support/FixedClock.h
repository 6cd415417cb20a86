// A Clock for tests that always tells the same day and the same time until a test moves it.
#pragma once

#include "platform/Clock.h"

#include <QTimeZone>

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDate date = QDate(2026, 12, 9))
        : date(date)
        , now(date, QTime(12, 0), QTimeZone::utc())
    { }
    QDate today() const override { return date; }
    QDateTime nowUtc() const override { return now; }
    QDate date;
    QDateTime now;
};
