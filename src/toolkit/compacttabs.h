#pragma once
#include <QTabBar>
#include <QTabWidget>

// A tab bar whose tabs take their text's width plus a small padding, at a fixed height. The windows
// are laid out in pixels for small tabs; the styles' roomy tabs would eat into the pages below them,
// and the styles' own label margins would clip the captions, so the captions are drawn here.
class CompactTabBar : public QTabBar {
    Q_OBJECT
public:
    static constexpr int DefaultTabHeight = 21;
    explicit CompactTabBar(QWidget* parent = nullptr, int tabHeight = DefaultTabHeight);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    int tabHeight_;
};

// A page control: a QTabWidget with compact tabs, so its pages keep most of its height.
class CompactTabWidget : public QTabWidget {
    Q_OBJECT
public:
    explicit CompactTabWidget(QWidget* parent = nullptr);
};
