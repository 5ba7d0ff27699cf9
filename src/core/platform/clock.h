#pragma once

#include <QDateTime>

// The program's idea of "now". Tests pin it; the program reads the system
// clock. Everything that asks for today or the time of day goes through it.
class IClock
{
public:
    virtual ~IClock() = default;
    virtual QDateTime now() const = 0;

    double nowDayNumber() const;
    int todayDayNumber() const;
};

class SystemClock final : public IClock
{
public:
    QDateTime now() const override;
};
