#include "formhelp.h"
#include "ui_formhelp.h"
#include <QScreen>
#include <QToolTip>

namespace {
// The window was drawn for "MS Sans Serif" 11 pixels high, a Windows bitmap face that Linux does not have.
// Liberation Sans and Nimbus Sans have Arial and Helvetica widths, the nearest to it, so the instruction
// lines wrap about where they were written to; DejaVu Sans, wider, is the last resort.
QFont helpFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    return font;
}
} // namespace

TFHelp::TFHelp(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    Ui::TFHelp ui;
    ui.setupUi(this);
    setFont(helpFont());
    setFixedSize(size());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

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
