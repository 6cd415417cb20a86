// Today's local date and the time now: the system clock in the program, a fixed one in tests.
#pragma once

#include <QDate>
#include <QDateTime>

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
    // The time now, in UTC. Safe to ask from any thread.
    virtual QDateTime nowUtc() const = 0;
};
