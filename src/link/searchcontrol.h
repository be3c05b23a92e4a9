#pragma once
#include <QString>
#include <functional>

// What the main window needs of the port search: start it once its status bar can show the search's
// texts, and stop it for good once the meter has been found.
class SearchControl {
public:
    virtual ~SearchControl() = default;
    // Starts the search; showStatus is called on the main thread with each status text.
    virtual void Resume(std::function<void(const QString&)> showStatus) = 0;
    // Called once the meter has been found: the search no longer touches the port.
    virtual void Suspend() = 0;
};
