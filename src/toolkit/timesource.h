#pragma once
#include <QDateTime>
#include <QString>
#include <QTime>

// The computer's date and time of day, behind an interface so that tests can set the clock.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual QDateTime Now() const = 0;
};

class SystemTimeSource final : public TimeSource {
public:
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

// A clock that moves only when told to.
class FakeTimeSource final : public TimeSource {
public:
    explicit FakeTimeSource(const QDateTime& start = QDateTime(QDate(2000, 1, 1), QTime(0, 0)));
    void Set(const QDateTime& now);
    void Advance(int seconds);
    QDateTime Now() const override { return now_; }

private:
    QDateTime now_;
};

// Time of day as the program writes it everywhere: two-digit hours on the 24-hour clock, "HH:mm:ss".
// Milliseconds are cut off, not rounded. An invalid time gives an empty text.
QString LongTimeText(const QTime& t);
