// Today's local date, from the system clock or, in tests, a fixed one.
#pragma once

#include <QDate>

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemClock : public Clock
{
public:
    QDate today() const override { return QDate::currentDate(); }
};
