#pragma once
#include <QMainWindow>

class LinkState;
class SearchControl;
class StatusPanels;

// The main window: owns the whole state of a run.
class TFMain : public QMainWindow {
    Q_OBJECT
public:
    inline static const QString Caption = QStringLiteral("ЗЕЛТ ТНС Zevadav в. 2.0.7");
    enum Panel { PanelPort = 0, PanelModel = 1, PanelConfig = 2, PanelMessage = 3 };

    TFMain(LinkState& link, SearchControl& search, QWidget* parent = nullptr);

    StatusPanels* StatusBar = nullptr;

private:
    void FormCreate();

    LinkState& link_;
    SearchControl& search_;
};
