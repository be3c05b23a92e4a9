// The main window's page "Дата логгер": the download of the meter's records, their chart and table, the
// chart/table switch of both pages, and the meter's clock.
#include "formmain.h"
#include "link/unitcomport.h"
#include "logger/download.h"
#include "loggerseries.h"
#include "quantities.h"
#include "settings/formoptions.h"
#include "toolkit/statuspanels.h"
#include "toolkit/stringgridmodel.h"
#include "toolkit/timesource.h"
#include "toolkit/windowedchart.h"
#include "valuetext.h"
#include <QCategoryAxis>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <utility>

namespace {
const QString TextDownload = QStringLiteral("Загрузить");
const QString TextDownloading = QStringLiteral("Загрузка данных, ждите ....");
const QString TextNotFoundYet = QStringLiteral("Прибор не найден, обмен с ним пока невозможен");

QString recordsText(const QString& what, int count) {
    return QStringLiteral("%1: %2").arg(what).arg(count);
}
} // namespace

// --- download

void TFMain::ButtonZagruzitClick() {
    if (downloadThread_) {
        // A second press ends the download after the record in hand; what was read stays.
        cancelDownload_ = true;
        return;
    }
    if (!link_.IsDeviceFound()) {
        StatusBar->setPanelText(PanelMessage, TextNotFoundYet); // the search still owns the port
        return;
    }
    ButtonZagruzit->setText(TextDownloading);
    panelBeforeDownload_ = StatusBar->panelText(PanelMessage);
    recordsThisDownload_ = 0;
    cancelDownload_ = false;
    setExchangeControlsEnabled(false);
    // The exchange runs beside the event loop so that the window paints and the chart grows; nothing
    // else uses the port meanwhile: the timers' handlers wait (see ExchangeBusy) and the controls that
    // start exchanges are disabled.
    downloadThread_ = QThread::create([this] {
        const DownloadEnd end = DownloadRecords(link_, [this](const LoggerRecord& record) {
            QMetaObject::invokeMethod(
                this, [this, record] { ShowLoggerRecord(record); }, Qt::QueuedConnection);
            return !cancelDownload_.load();
        });
        QMetaObject::invokeMethod(
            this, [this, end] { DownloadFinished(static_cast<int>(end)); }, Qt::QueuedConnection);
    });
    downloadThread_->start();
}

bool TFMain::ExchangeBusy() const {
    return downloadThread_ != nullptr;
}

void TFMain::ShowLoggerRecord(const LoggerRecord& record) {
    const LiveQuantities q = ComputeLogger({record.RH(), record.tv(), record.tsh()});
    const int row = GridL->rowCount() - 1; // the empty last row
    auto put = [&](int column, float value) { GridL->setCell(column, row, ValueText(value)); };
    GridL->setCell(0, row, record.TimeText());
    put(3, q.RH);
    put(4, q.tv);
    put(5, q.tsh); // after the clamp: never below tв
    put(1, q.THC);
    put(2, q.WBGT);
    put(6, q.tvt);
    GridL->setCell(7, row, q.ttr ? ValueText(*q.ttr) : QStringLiteral("--"));
    put(8, q.trad);
    put(9, q.W);
    GridL->appendRow();
    loggerSeries_->append(record.address, {Tenths(q.THC), Tenths(q.RH), Tenths(q.tv), Tenths(q.tsh)});
    ++recordsThisDownload_;
    StatusBar->setPanelText(PanelMessage,
                            recordsText(QStringLiteral("Загружено записей"), recordsThisDownload_));
    // The chart grows with the download, redrawn at most every 100 ms.
    if (!chartRefeed_->isActive())
        chartRefeed_->start();
}

void TFMain::DownloadFinished(int endCode) {
    downloadThread_->wait();
    delete downloadThread_;
    downloadThread_ = nullptr;
    chartRefeed_->stop();
    ChartValue->refeed();
    ButtonZagruzit->setText(TextDownload);
    setExchangeControlsEnabled(true);
    switch (static_cast<DownloadEnd>(endCode)) {
    case DownloadEnd::NoAnswer:
        StatusBar->setPanelText(PanelMessage, TextNoAnswer);
        break;
    case DownloadEnd::Lost:
        StatusBar->setPanelText(
            PanelMessage,
            recordsText(QStringLiteral("Прибор перестал отвечать, загружено записей"), recordsThisDownload_));
        break;
    case DownloadEnd::Cancelled:
        StatusBar->setPanelText(
            PanelMessage,
            recordsText(QStringLiteral("Загрузка прервана, загружено записей"), recordsThisDownload_));
        break;
    default: // a download that ran to its end leaves the status as it was
        StatusBar->setPanelText(PanelMessage, panelBeforeDownload_);
        break;
    }
    RunDeferredTicks();
}

void TFMain::setExchangeControlsEnabled(bool enabled) {
    if (!enabled)
        startWasEnabled_ = ButtonStartStop->isEnabled();
    ButtonStartStop->setEnabled(enabled && startWasEnabled_);
    PanelDataTime->setEnabled(enabled);
    MainMenu->setEnabled(enabled);
}

void TFMain::RunDeferredTicks() {
    // Ticks that came during the download run once now, as a window's timer messages would.
    const auto pending = std::exchange(deferredTicks_, {});
    for (const auto& [timer, handler] : pending)
        if (timer->isActive())
            (this->*handler)();
}

bool TFMain::DeferTick(QTimer* timer, void (TFMain::*handler)()) {
    if (!ExchangeBusy())
        return false;
    for (const auto& tick : deferredTicks_)
        if (tick.first == timer)
            return true;
    deferredTicks_.emplace_back(timer, handler);
    return true;
}

void TFMain::EndDownload() {
    if (!downloadThread_)
        return;
    cancelDownload_ = true;
    downloadThread_->wait();
    QCoreApplication::sendPostedEvents(this); // the records it already sent
}

// --- the logger chart and the chart/table switch

void TFMain::setUpLoggerChart() {
    loggerSeries_ = std::make_unique<LoggerSeries>();
    QChart* chart = ChartValue->chart();
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(QColor(0xC0, 0xC0, 0xC0));
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(true);
    ChartValue->setRenderHint(QPainter::Antialiasing);
    ChartValue->setYRange(-30, 100);
    ChartValue->axisY()->setVisible(true);
    ChartValue->axisY()->setLabelFormat(QStringLiteral("%g"));
    ChartValue->axisY()->setTickType(QValueAxis::TicksDynamic); // lines at whole tens, whatever the range
    ChartValue->axisY()->setTickAnchor(0);
    ChartValue->axisY()->setTickInterval(10);

    // Line colours of the design; every point is drawn in its quantity's own colour.
    const QColor lines[] = {QColor(0x00, 0x80, 0x00), QColor(0xFF, 0x00, 0x00), QColor(0xFF, 0xFF, 0x00),
                            QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0xFF, 0xFF), QColor(0x80, 0x80, 0x80),
                            QColor(0xFF, 0x00, 0xFF), QColor(0x00, 0x80, 0x80), QColor(0x00, 0x00, 0x80),
                            QColor(0x80, 0x00, 0x00)};
    const QColor points[] = {QColor(0xFF, 0x00, 0x00), QColor(0x00, 0xFF, 0x00), QColor(0xFF, 0xFF, 0x00),
                             QColor(0x00, 0xFF, 0xFF)};
    QLineSeries** members[] = {&Series1, &Series2, &Series3, &Series4, &Series5,
                               &Series6, &Series7, &Series8, &Series9, &Series10};
    for (int i = 0; i < 10; ++i) {
        auto* series = new QLineSeries;
        series->setObjectName(QStringLiteral("Series%1").arg(i + 1));
        series->setColor(lines[i]);
        series->setPointsVisible(true);
        series->setMarkerSize(3);
        if (i < LoggerSeries::Count) {
            QImage dot(3, 3, QImage::Format_ARGB32);
            dot.fill(points[i]);
            series->setLightMarker(dot);
        }
        const auto which = static_cast<LoggerSeries::Series>(i);
        *members[i] =
            ChartValue->addFeed(series, [this, i, which](double from, double to, QList<QPointF>& out) {
                if (i < LoggerSeries::Count)
                    loggerSeries_->feed(which, from, to, out);
            });
        series->setVisible(i == 0); // THC is charted first
    }

    // The bottom axis is labelled with the records' time texts, a handful over the visible range.
    loggerAxis_ = new QCategoryAxis(ChartValue);
    loggerAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    QFont small = loggerAxis_->labelsFont();
    small.setPointSize(7);
    loggerAxis_->setLabelsFont(small);
    chart->addAxis(loggerAxis_, Qt::AlignBottom);
    connect(ChartValue->axisX(), &QValueAxis::rangeChanged, this, &TFMain::UpdateLoggerAxisLabels);

    chartRefeed_ = new QTimer(this);
    chartRefeed_->setSingleShot(true);
    chartRefeed_->setInterval(100);
    connect(chartRefeed_, &QTimer::timeout, ChartValue, &WindowedChartView::refeed);
}

QString TFMain::ChartValueGetAxisLabel(int pointIndex) const {
    // The label of point i is the time text of table row i + 1 (the first row under the headers).
    return GridL->cell(0, pointIndex);
}

void TFMain::UpdateLoggerAxisLabels() {
    const double lo = ChartValue->axisX()->min(), hi = ChartValue->axisX()->max();
    for (const QString& label : loggerAxis_->categoriesLabels())
        loggerAxis_->remove(label);
    loggerAxis_->setRange(lo, hi);
    loggerAxis_->setStartValue(lo);
    const std::size_t first = loggerSeries_->rankOf(lo),
                      last = loggerSeries_->rankOf(std::nextafter(hi, HUGE_VAL));
    if (last <= first)
        return;
    constexpr std::size_t Labels = 8;
    const std::size_t step = std::max<std::size_t>(1, (last - first + Labels - 1) / Labels);
    QStringList used;
    for (std::size_t i = first; i < last; i += step) {
        const QString label = ChartValueGetAxisLabel(static_cast<int>(i));
        if (label.isEmpty() || used.contains(label))
            continue; // a category axis takes every text once
        used << label;
        loggerAxis_->append(label, loggerSeries_->addressAt(i));
    }
}

void TFMain::ComboBoxZChange(int index) {
    if (index < 0 || index >= LoggerSeries::Count)
        return;
    QLineSeries* series[] = {Series1, Series2, Series3, Series4};
    for (int i = 0; i < LoggerSeries::Count; ++i)
        series[i]->setVisible(i == index);
}

void TFMain::TabSetChange(int index) {
    QTableView* table = PageControl->currentIndex() == 0 ? StringGridD : StringGridL;
    if (index == 1) {
        table->resize(646, 468);
        table->raise();
        table->show();
    } else if (index == 0) {
        table->hide();
    }
}

void TFMain::PageControlChange(int page) {
    RefillClock();
    // The strip mirrors the page now shown; each page keeps its own chart or table.
    const QTableView* table = page == 0 ? StringGridD : StringGridL;
    const QSignalBlocker block(TabSet);
    TabSet->setCurrentIndex(table->isVisible() ? 1 : 0);
    if (page == 1)
        StatusBar->setPanelText(PanelMessage, QStringLiteral(" "));
}

void TFMain::SetLoggerScale(int minimum, int maximum) {
    ChartValue->setYRange(minimum, maximum);
}

// --- the meter's clock

void TFMain::TimerDataVremyTimer() {
    if (!DeferTick(TimerDataVremy, &TFMain::TimerDataVremyTimer))
        RefillClock();
}

void TFMain::RefillClock() {
    const QDateTime now = time_->Now();
    CSpinEditChas->setValue(now.time().hour());
    CSpinEditMin->setValue(now.time().minute());
    CSpinEditDen->setValue(now.date().day());
    CSpinEditMes->setValue(now.date().month());
    CSpinEditGod->setValue(now.date().year());
}

void TFMain::ButtonSaveClick() {
    if (ExchangeBusy())
        return;
    if (!link_.IsDeviceFound()) {
        StatusBar->setPanelText(PanelMessage, TextNotFoundYet);
        return;
    }
    const ClockWriteEnd end =
        WriteClock(link_, CSpinEditMin->value(), CSpinEditChas->value(), CSpinEditDen->value(),
                   CSpinEditMes->value(), CSpinEditGod->value(), [this] {
                       StatusBar->setPanelText(PanelMessage, QStringLiteral("Запись времяни и даты ..."));
                       StatusBar->repaint();
                   });
    if (end == ClockWriteEnd::Done)
        StatusBar->setPanelText(PanelMessage, QStringLiteral("Запись времяни и даты завершена"));
    else
        StatusBar->setPanelText(PanelMessage,
                                end == ClockWriteEnd::NoAnswer
                                    ? TextNoAnswer
                                    : QStringLiteral("Прибор перестал отвечать, время не записано"));
}
