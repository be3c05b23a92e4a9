#pragma once
#include <QWidget>

// Window TFHelp; created hidden at start-up and shown or hidden for the rest of the run.
class TFHelp : public QWidget {
    Q_OBJECT
public:
    explicit TFHelp(QWidget* parent = nullptr);
};
