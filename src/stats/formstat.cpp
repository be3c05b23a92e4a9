#include "formstat.h"
#include "stats/barmarks.h"
#include "stats/stathistogram.h"
#include "toolkit/windowlook.h"
#include "ui_formstat.h"
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

const QColor Silver(192, 192, 192);

// The top of the count axis: room above the highest bar for its mark, in whole steps of 1, 2 or 5 times
// a power of ten, so that the axis is labelled in whole counts.
struct CountScale {
    double top;
    double step;
};
CountScale countScale(double highest) {
    const double wanted = std::max(1.0, highest * 1.15 + 0.5);
    double step = 1;
    for (double magnitude = 1;; magnitude *= 10) {
        const double candidates[] = {magnitude, 2 * magnitude, 5 * magnitude};
        const auto fit = std::find_if(std::begin(candidates), std::end(candidates),
                                      [&](double s) { return wanted / s <= 8; });
        if (fit != std::end(candidates)) {
            step = *fit;
            break;
        }
    }
    return {std::ceil(wanted / step) * step, step};
}
} // namespace

TFStat::TFStat(const ReadingStore* store, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      store_(store) {
    Ui::TFStat ui;
    ui.setupUi(this);
    setFont(WindowFont());
    FixAndCentre(this);

    ComboBoxStat = ui.ComboBoxStat;
    ButtonStatReload = ui.ButtonStatReload;
    PanelMinMax = ui.PanelMinMax;
    StaticTextMin = ui.StaticTextMin;
    StaticTextMax = ui.StaticTextMax;
    ChartStat = ui.ChartStat;
    ButtonClose = ui.ButtonClose;
    m3c = ui.m3c;
    RadioButtonXY = ui.RadioButtonXY;
    RadioButtonD = ui.RadioButtonD;
    RadioButtonS = ui.RadioButtonS;
    EditX = ui.EditX;
    EditY = ui.EditY;
    EditD = ui.EditD;
    EditS = ui.EditS;
    StaticTextP = ui.StaticTextP;

    // A pick list: typed text would leave no quantity chosen, and there is nothing to count for it.
    ComboBoxStat->setEditable(false);
    ComboBoxStat->setCurrentIndex(-1);

    QFont small = font();
    small.setPointSize(6);
    ui.LabelPloshad2->setFont(small);
    ui.LabelM3Power->setFont(small);
    QFont result = font();
    result.setBold(true);
    result.setPixelSize(21);
    StaticTextP->setFont(result);
    StaticTextP->setAutoFillBackground(true);
    QPalette white = StaticTextP->palette();
    white.setColor(QPalette::Window, Qt::white);
    StaticTextP->setPalette(white);
    enableEdits(true, false, false);

    setUpChart();

    connect(ButtonStatReload, &QPushButton::clicked, this, &TFStat::ButtonStatReloadClick);
    connect(ComboBoxStat, &QComboBox::currentIndexChanged, this, &TFStat::ComboBoxStatChange);
    connect(ButtonClose, &QPushButton::clicked, this, &TFStat::ButtonCloseClick);
    connect(RadioButtonXY, &QRadioButton::clicked, this, &TFStat::RadioButtonXYClick);
    connect(RadioButtonD, &QRadioButton::clicked, this, &TFStat::RadioButtonDClick);
    connect(RadioButtonS, &QRadioButton::clicked, this, &TFStat::RadioButtonSClick);
}

// Silver around a white plot, thin margins, no legend or title; the bars and their marks are red on it.
void TFStat::setUpChart() {
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(Silver);
    chart->setBackgroundPen(Qt::NoPen);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundPen(QPen(Qt::black, 1));
    chart->setPlotAreaBackgroundVisible(true);
    chart->setAnimationOptions(QChart::NoAnimation);

    BarSeriesStat = new QBarSeries;
    BarSeriesStat->setObjectName(QStringLiteral("BarSeriesStat"));
    BarSeriesStat->setBarWidth(0.7);
    BarSetStat = new QBarSet(QString());
    BarSetStat->setColor(Qt::red);
    BarSetStat->setBorderColor(Qt::black);
    BarSeriesStat->append(BarSetStat);
    chart->addSeries(BarSeriesStat);

    AxisClasses = new QBarCategoryAxis;
    AxisCounts = new QValueAxis;
    AxisCounts->setLabelFormat(QStringLiteral("%.0f"));
    AxisCounts->setTickType(QValueAxis::TicksDynamic);
    AxisCounts->setTickAnchor(0);
    AxisCounts->setRange(0, 1);
    AxisCounts->setTickInterval(1);
    chart->addAxis(AxisClasses, Qt::AlignBottom);
    chart->addAxis(AxisCounts, Qt::AlignLeft);
    BarSeriesStat->attachAxis(AxisClasses);
    BarSeriesStat->attachAxis(AxisCounts);

    ChartStat->setChart(chart);
    ChartStat->setRenderHint(QPainter::Antialiasing);
    MarksStat = new BarMarks(chart, BarSeriesStat, BarSetStat);
}

void TFStat::enableEdits(bool xy, bool d, bool s) {
    EditX->setEnabled(xy);
    EditY->setEnabled(xy);
    EditD->setEnabled(d);
    EditS->setEnabled(s);
}

void TFStat::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFStat::FormShow() {
    StatisticsRefresh();
}
void TFStat::ButtonStatReloadClick() {
    StatisticsRefresh();
}
void TFStat::ComboBoxStatChange() {
    StatisticsRefresh();
}
void TFStat::ButtonCloseClick() {
    close();
}
void TFStat::RadioButtonXYClick() {
    enableEdits(true, false, false);
}
void TFStat::RadioButtonDClick() {
    enableEdits(false, true, false);
}
void TFStat::RadioButtonSClick() {
    enableEdits(false, false, true);
}

void TFStat::StatisticsRefresh() {
    BarSetStat->remove(0, BarSetStat->count());
    AxisClasses->clear();
    const StatQuantity* quantity = StatQuantityAt(ComboBoxStat->currentIndex());
    if (!quantity) {
        MarksStat->setTexts({});
        return;
    }

    const StatHistogram h = store_ ? ComputeStatHistogram(*store_, *quantity) : StatHistogram{};
    QList<qreal> values;
    for (const std::int64_t c : h.counts)
        values << static_cast<qreal>(c);
    AxisClasses->append(StatClassLabels(*quantity));
    BarSetStat->append(values);
    const CountScale scale = countScale(*std::max_element(values.cbegin(), values.cend()));
    AxisCounts->setRange(0, scale.top);
    AxisCounts->setTickInterval(scale.step);

    const QLocale locale;
    QStringList marks;
    for (const std::int64_t c : h.counts)
        marks << StatPercentText(c, h.total(), locale);
    MarksStat->setTexts(marks);

    StaticTextMax->setText(StatValueText(h.maxTenths, locale));
    StaticTextMin->setText(StatValueText(h.minTenths, locale));
}
