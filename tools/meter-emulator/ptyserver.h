#pragma once
#include "metermodel.h"
#include <string>

// Serves a MeterModel on the master side of a pseudo-terminal until stopped.
class PtyServer {
public:
    explicit PtyServer(MeterModel& meter);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the pseudo-terminal; returns its slave path, or an empty string with errno set.
    std::string open();
    // Runs until stop() is called from a signal handler (or another thread) or the master fails.
    // transcriptFd >= 0 gets every wire event as a text line while serving.
    int serve(int transcriptFd);
    static void stop();

private:
    MeterModel& meter_;
    int master_ = -1;
    int slave_ = -1; // kept open so the line stays raw and the master never sees a hang-up
};
