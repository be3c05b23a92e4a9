#include "rcpthread.h"
#include "link/unitcomport.h"
#include <QCoreApplication>

MyThread::MyThread(LinkState& link, QObject* parent) : QThread(parent), link_(link), search_(link) {
    // The texts go to the status bar on the main thread, where this object lives.
    connect(this, &MyThread::StatusText, this, [this](const QString& text) {
        if (showStatus_)
            showStatus_(text);
    });
}

MyThread::~MyThread() {
    Shutdown();
}

void MyThread::Resume(std::function<void(const QString&)> showStatus) {
    showStatus_ = std::move(showStatus);
    start();
}

void MyThread::Suspend() {
    // Once DeviceFound is set the search has ended by itself; this only makes sure of it.
    Shutdown();
}

void MyThread::Shutdown() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stepDone_.notify_all();
    requestInterruption();
    wait();
}

void MyThread::run() {
    auto show = [this](const QString& text) { emit StatusText(text); };
    auto afterMiss = [this] { return !isInterruptionRequested() && SynchronizedStep(); };
    while (!link_.IsDeviceFound() && !isInterruptionRequested()) {
        if (search_.Pass(show, afterMiss))
            break;
    }
}

bool MyThread::SynchronizedStep() {
    std::unique_lock lock(mutex_);
    if (stopping_)
        return false;
    stepPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            QCoreApplication::processEvents();
            {
                std::lock_guard done(mutex_);
                stepPending_ = false;
            }
            stepDone_.notify_all();
        },
        Qt::QueuedConnection);
    stepDone_.wait(lock, [this] { return !stepPending_ || stopping_; });
    return !stopping_;
}
