#pragma once
#include "link/searchcontrol.h"
#include "portsearch.h"
#include <QThread>
#include <condition_variable>
#include <mutex>

class LinkState;

// The background search for the meter's port. Created before any window and started (resumed) by the
// main window once its status bar exists. It owns the link until the meter answers, then publishes the
// port and ends: nothing ever searches again in this run.
class MyThread final : public QThread, public SearchControl {
    Q_OBJECT
public:
    explicit MyThread(LinkState& link, QObject* parent = nullptr);
    ~MyThread() override;

    void Resume(std::function<void(const QString&)> showStatus) override;
    void Suspend() override;
    // Ends the search at once (between two reads) and waits for the thread; for the end of the run.
    void Shutdown();

    int SearchMissCount() const { return search_.SearchMissCount; }

signals:
    void StatusText(const QString& text);

protected:
    void run() override;

private:
    // Runs on the main thread and returns once it has processed its pending events, so the search goes
    // no faster than the window repaints its status text. False when the run is ending.
    bool SynchronizedStep();

    LinkState& link_;
    PortSearch search_;
    std::function<void(const QString&)> showStatus_;
    std::mutex mutex_;
    std::condition_variable stepDone_;
    bool stepPending_ = false;
    bool stopping_ = false;
};
