#pragma once
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// Window TFHelp, the user instructions; created hidden at start-up and shown or hidden for the rest of the
// run. The user may edit the text; the edit lasts until the program ends, as hiding keeps it.
class TFHelp : public QWidget {
    Q_OBJECT
public:
    explicit TFHelp(QWidget* parent = nullptr);

    QPlainTextEdit* MemoHelp = nullptr;
    QPushButton* ButtonCloseHelp = nullptr;

public slots:
    void ButtonCloseHelpClick();
};
