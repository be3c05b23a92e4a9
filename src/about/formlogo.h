#pragma once
#include <QWidget>

// Window TFLogo; created hidden at start-up and shown or hidden for the rest of the run.
class TFLogo : public QWidget {
    Q_OBJECT
public:
    explicit TFLogo(QWidget* parent = nullptr);
};
