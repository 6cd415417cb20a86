// Today's local date: the system clock in the program, a fixed date in tests.
#pragma once

#include <QDate>

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};
