#include "formlogo.h"
#include "toolkit/resources.h"
#include "ui_formlogo.h"
#include <QMouseEvent>
#include <QScreen>
#include <QTextCursor>
#include <cmath>

namespace {
const QColor SkyBlue(166, 202, 240);

// The panel was drawn for Times New Roman, a Windows face. Liberation Serif and Nimbus Roman are drawn to
// its widths, so the lines still fit the memos as laid out; DejaVu Serif, wider, is the last resort. All
// of them have Cyrillic.
QFont memoFont(int pixelSize, bool italic) {
    QFont font;
    font.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                      QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif")});
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(italic);
    return font;
}

void paintBackground(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The memos are exactly as high as their lines in Times New Roman, whose line is 1.107 of its character
// height (ascent 0.891, descent 0.216). The stand-in faces have a taller line, and with it the last line
// of a memo would be cut off, so the lines keep Times New Roman's pitch.
int timesLinePitch(int pixelSize) {
    return static_cast<int>(std::ceil(pixelSize * 1.107));
}

// Read-only, borderless, every line centred, on the panel's sky blue.
void styleMemo(QTextEdit* memo, const QFont& font) {
    memo->setFont(font);
    paintBackground(memo, QPalette::Base, SkyBlue);
    memo->document()->setDocumentMargin(0);
    QTextCursor all(memo->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setAlignment(Qt::AlignHCenter);
    format.setLineHeight(timesLinePitch(font.pixelSize()), QTextBlockFormat::FixedHeight);
    all.mergeBlockFormat(format);
}
} // namespace

TFLogo::TFLogo(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    initEmbeddedResources();
    Ui::TFLogo ui;
    ui.setupUi(this);
    setFixedSize(size());
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    PanelLogo = ui.PanelLogo;
    ImageZELT = ui.ImageZELT;
    PanelAtributi = ui.PanelAtributi;
    Memo1 = ui.Memo1;
    Memo2 = ui.Memo2;
    Memo3 = ui.Memo3;
    Memo4 = ui.Memo4;

    const QColor buttonFace = palette().color(QPalette::Button);
    paintBackground(this, QPalette::Window, buttonFace);
    paintBackground(PanelLogo, QPalette::Window, buttonFace);
    paintBackground(PanelAtributi, QPalette::Window, SkyBlue);
    ImageZELT->setPixmap(QPixmap(QStringLiteral(":/pictures/logo.png")));
    styleMemo(Memo1, memoFont(17, false));
    styleMemo(Memo2, memoFont(16, true));
    styleMemo(Memo3, memoFont(13, false));
    styleMemo(Memo4, memoFont(13, false));

    watchClicks(PanelLogo, &TFLogo::PanelLogoClick);
    watchClicks(ImageZELT, &TFLogo::ImageZELTClick);
    watchClicks(PanelAtributi, &TFLogo::PanelAtributiClick);
    const std::pair<QTextEdit*, void (TFLogo::*)()> memos[] = {{Memo1, &TFLogo::Memo1Click},
                                                               {Memo2, &TFLogo::Memo2Click},
                                                               {Memo3, &TFLogo::Memo3Click},
                                                               {Memo4, &TFLogo::Memo4Click}};
    // A memo's mouse events go to its viewport, not to the memo itself.
    for (const auto& [memo, handler] : memos) {
        watchClicks(memo, handler);
        watchClicks(memo->viewport(), handler);
    }
}

void TFLogo::watchClicks(QWidget* widget, void (TFLogo::*handler)()) {
    clickHandlers_.emplace_back(widget, handler);
    widget->installEventFilter(this);
}

// A click is a left-button release over the control that was pressed.
bool TFLogo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        for (const auto& [widget, handler] : clickHandlers_) {
            if (widget != watched)
                continue;
            if (mouse->button() == Qt::LeftButton && widget->rect().contains(mouse->position().toPoint())) {
                (this->*handler)();
                return true;
            }
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFLogo::PanelLogoClick() {
    close();
}
void TFLogo::ImageZELTClick() {
    close();
}
void TFLogo::PanelAtributiClick() {
    close();
}
void TFLogo::Memo1Click() {
    close();
}
void TFLogo::Memo2Click() {
    close();
}
void TFLogo::Memo3Click() {
    close();
}
void TFLogo::Memo4Click() {
    close();
}
