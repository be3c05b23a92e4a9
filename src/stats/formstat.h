#pragma once
#include <QWidget>

// Window TFStat; created hidden at start-up and shown or hidden for the rest of the run.
class TFStat : public QWidget {
    Q_OBJECT
public:
    explicit TFStat(QWidget* parent = nullptr);
};
