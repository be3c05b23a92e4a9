#include "formhelp.h"
#include "toolkit/windowlook.h"
#include "ui_formhelp.h"
#include <QToolTip>

TFHelp::TFHelp(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    Ui::TFHelp ui;
    ui.setupUi(this);
    QFont font = WindowFont();
    font.setPixelSize(11); // the help text's character height
    setFont(font);
    FixAndCentre(this);

    MemoHelp = ui.MemoHelp;
    ButtonCloseHelp = ui.ButtonCloseHelp;

    QPalette palette = MemoHelp->palette();
    palette.setColor(QPalette::Base, QToolTip::palette().color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, QToolTip::palette().color(QPalette::ToolTipText));
    MemoHelp->setPalette(palette);

    connect(ButtonCloseHelp, &QPushButton::clicked, this, &TFHelp::ButtonCloseHelpClick);
}

void TFHelp::ButtonCloseHelpClick() {
    close();
}
