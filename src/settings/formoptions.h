#pragma once
#include <QWidget>

// Window TFOptions; created hidden at start-up and shown or hidden for the rest of the run.
class TFOptions : public QWidget {
    Q_OBJECT
public:
    explicit TFOptions(QWidget* parent = nullptr);
};
