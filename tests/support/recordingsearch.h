#pragma once
#include "link/searchcontrol.h"

// A port search that searches nothing: it records what the main window asks of it.
class RecordingSearch final : public SearchControl {
public:
    void Resume(std::function<void(const QString&)> showStatus) override {
        ++resumed;
        status = std::move(showStatus);
    }
    void Suspend() override { ++suspended; }
    int resumed = 0;
    int suspended = 0;
    std::function<void(const QString&)> status;
};
