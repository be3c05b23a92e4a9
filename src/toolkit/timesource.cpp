#include "toolkit/timesource.h"

FakeTimeSource::FakeTimeSource(const QDateTime& start) : now_(start) {}

void FakeTimeSource::Set(const QDateTime& now) {
    now_ = now;
}

void FakeTimeSource::Advance(int seconds) {
    now_ = now_.addSecs(seconds);
}

QString LongTimeText(const QTime& t) {
    // Spelled out rather than taken from the locale: the texts are compared and stored, and a
    // 12-hour locale would otherwise turn 14:05 into 2:05.
    return t.toString(QStringLiteral("HH:mm:ss"));
}
