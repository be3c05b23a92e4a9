#include "compacttabs.h"
#include <QFontMetrics>
#include <QStyleOptionTab>
#include <QStylePainter>

namespace {
constexpr int TextPadding = 6; // each side of the caption
}

CompactTabBar::CompactTabBar(QWidget* parent, int tabHeight) : QTabBar(parent), tabHeight_(tabHeight) {
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
}

QSize CompactTabBar::tabSizeHint(int index) const {
    return {fontMetrics().horizontalAdvance(tabText(index)) + 2 * TextPadding, tabHeight_};
}

QSize CompactTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void CompactTabBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    auto drawTab = [&](int index) {
        QStyleOptionTab option;
        initStyleOption(&option, index);
        const QString caption = option.text;
        option.text.clear();
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        painter.drawItemText(option.rect, Qt::AlignCenter, option.palette, isTabEnabled(index), caption,
                             QPalette::WindowText);
    };
    // The selected tab last: its shape overlaps its neighbours.
    for (int i = 0; i < count(); ++i)
        if (i != currentIndex())
            drawTab(i);
    if (currentIndex() >= 0)
        drawTab(currentIndex());
}

CompactTabWidget::CompactTabWidget(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new CompactTabBar(this));
}
