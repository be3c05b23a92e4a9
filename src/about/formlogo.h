#pragma once
#include <QWidget>
#include <utility>
#include <vector>

class QFrame;
class QLabel;
class QTextEdit;

// Window TFLogo, the about window; created hidden at start-up and shown or hidden for the rest of the run.
// It has no title bar: a click anywhere on it hides it.
class TFLogo : public QWidget {
    Q_OBJECT
public:
    explicit TFLogo(QWidget* parent = nullptr);

    QFrame* PanelLogo = nullptr;
    QLabel* ImageZELT = nullptr;
    QFrame* PanelAtributi = nullptr;
    QTextEdit* Memo1 = nullptr; // legal form and name
    QTextEdit* Memo2 = nullptr; // line of business
    QTextEdit* Memo3 = nullptr; // products
    QTextEdit* Memo4 = nullptr; // address and contacts

public slots:
    void PanelLogoClick();
    void ImageZELTClick();
    void PanelAtributiClick();
    void Memo1Click();
    void Memo2Click();
    void Memo3Click();
    void Memo4Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchClicks(QWidget* widget, void (TFLogo::*handler)());

    std::vector<std::pair<QWidget*, void (TFLogo::*)()>> clickHandlers_;
};
