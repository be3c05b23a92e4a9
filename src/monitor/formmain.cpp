#include "formmain.h"
#include "link/searchcontrol.h"
#include "link/unitcomport.h"
#include "toolkit/statuspanels.h"
#include <QApplication>
#include <QPointer>

TFMain::TFMain(LinkState& link, SearchControl& search, QWidget* parent)
    : QMainWindow(parent), link_(link), search_(search) {
    setWindowTitle(Caption);
    setCentralWidget(new QWidget(this));
    StatusBar = new StatusPanels(this);
    StatusBar->setPanels({{55, Qt::AlignHCenter}, {70, Qt::AlignHCenter}, {50, Qt::AlignHCenter},
                          {50, Qt::AlignLeft}});
    setStatusBar(StatusBar);
    setFixedSize(655, 542);
    FormCreate();
}

void TFMain::FormCreate() {
    QPointer<StatusPanels> panels = StatusBar;
    search_.Resume([panels](const QString& text) {
        if (panels)
            panels->setPanelText(PanelMessage, text);
    });
    QApplication::processEvents();
}
