// Live monitoring of the main window: the start button, the read cycle and the timed window.
#include "alarms.h"
#include "formmain.h"
#include "link/unitcomport.h"
#include "livetablemodel.h"
#include "quantities.h"
#include "settings/chartpoints.h"
#include "settings/formoptions.h"
#include "settings/maskedit.h"
#include "toolkit/beeper.h"
#include "toolkit/lastrowfollower.h"
#include "toolkit/statuspanels.h"
#include "toolkit/timesource.h"
#include "toolkit/windowedchart.h"
#include "valuetext.h"
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace {
const QString TextStart = QStringLiteral("Старт");
const QString TextStop = QStringLiteral("Стоп");

// Reads the three raw channels after the probe: the command and six echoed bytes.
bool readChannelBytes(LinkState& link, std::array<std::uint8_t, 6>& bytes) {
    if (!link.Command(Cmd::CmdReadChannels))
        return false;
    for (auto& byte : bytes) {
        const auto b = link.ReadEcho();
        if (!b)
            return false;
        byte = *b;
    }
    return true;
}
} // namespace

void TFMain::ButtonStartStopClick() {
    if (ExchangeBusy())
        return;
    // The mode is the check box's state now, whatever mode was started before.
    const bool timed = FOptions && FOptions->CheckBoxTimer->isChecked();
    auto probe = [this] {
        link_.OpenPort(link_.PortDigit());
        return link_.ProbeMeter() != 0;
    };
    if (timed) {
        if (TimerPeriod->isActive()) {
            TimerPeriod->stop();
            ButtonStartStop->setText(TextStart);
            TimerInterval->stop();
            probe();
            link_.ClosePort();
            return;
        }
        if (probe()) {
            StatusBar->setPanelText(PanelMessage,
                                    QStringLiteral("Соединение прошло успешно, ожидание начала измерений "));
            TimerPeriod->start();
            ButtonStartStop->setText(TextStop);
        } else {
            StatusBar->setPanelText(PanelMessage, QStringLiteral("Нет отклика от прибора..."));
        }
        link_.ClosePort();
        return;
    }
    if (TimerInterval->isActive()) {
        TimerInterval->stop();
        ButtonStartStop->setText(TextStart);
        StatusBar->setPanelText(PanelMessage, QStringLiteral(" "));
        probe();
        link_.ClosePort();
        return;
    }
    if (probe()) {
        StatusBar->setPanelText(PanelMessage, QStringLiteral("Соединение прошло успешно"));
        link_.ClosePort();
        TimerInterval->start();
        ButtonStartStop->setText(TextStop);
        StatusBar->setPanelText(PanelMessage, QStringLiteral("Чтение каналов"));
    } else {
        TimerInterval->stop();
        ButtonStartStop->setText(TextStart);
        StatusBar->setPanelText(PanelMessage, TextNoAnswer);
        link_.ClosePort();
    }
}

void TFMain::TimerIntervalTimer() {
    if (!DeferTick(TimerInterval, &TFMain::TimerIntervalTimer))
        ReadCycle();
}

void TFMain::ReadCycle() {
    std::array<std::uint8_t, 6> bytes{};
    const ExchangeResult result = RunExchange(link_, Probe::First, [&] {
        StatusBar->setPanelText(PanelMessage, QStringLiteral("Чтение данных ..."));
        return readChannelBytes(link_, bytes);
    });
    if (result != ExchangeResult::Done) {
        // Silent at the probe or fallen silent after it: monitoring stops, what is shown stays.
        StatusBar->setPanelText(PanelMessage, TextNoAnswer);
        TimerPeriod->stop();
        ButtonStartStop->setText(TextStart);
        TimerInterval->stop();
        return;
    }
    PublishReading(ComputeLive(DecodeChannels(bytes)), time_->Now().time());
}

Reading TFMain::MakeReading(const LiveQuantities& q, const QTime& time) {
    Reading r;
    r.secondOfDay = time.msecsSinceStartOfDay() / 1000;
    r.tenths[Reading::THC] = Tenths(q.THC);
    r.tenths[Reading::WBGT] = Tenths(q.WBGT);
    r.tenths[Reading::RH] = Tenths(q.RH);
    r.tenths[Reading::Tv] = Tenths(q.tv);
    r.tenths[Reading::Tsh] = Tenths(q.tsh);
    r.tenths[Reading::Tvt] = Tenths(q.tvt);
    r.tenths[Reading::Ttr] = q.ttr ? Tenths(*q.ttr) : Reading::NoValue;
    r.tenths[Reading::Trad] = Tenths(q.trad);
    r.tenths[Reading::W] = Tenths(q.W);
    return r;
}

void TFMain::AppendLiveRow(const Reading& reading) {
    GridD->append(reading);
    liveTableFollower_->rowsAdded();
}

void TFMain::PublishReading(const LiveQuantities& q, const QTime& time) {
    const Reading reading = MakeReading(q, time);
    const std::pair<QLabel*, Reading::Column> labels[] = {
        {Label21, Reading::Tv},   {Label23, Reading::RH},   {Label27, Reading::Tvt},
        {Label28, Reading::Ttr},  {Label22, Reading::Tsh},  {Label25, Reading::THC},
        {Label26, Reading::WBGT}, {Label29, Reading::Trad}, {Label30, Reading::W}};
    for (const auto& [label, column] : labels)
        label->setText(LiveTableModel::valueText(reading, column));
    AppendLiveRow(reading);

    // The alarms, in the order tв, RH, tш, each on the unrounded value of this cycle.
    if (FOptions) {
        TestCriticalLevel(q.tv, FOptions->CheckBoxT, FOptions->EditTmin, FOptions->EditTmax);
        TestCriticalLevel(q.RH, FOptions->CheckBoxRH, FOptions->EditRHmin, FOptions->EditRHmax);
        TestCriticalLevel(q.tsh, FOptions->CheckBoxV, FOptions->EditVmin, FOptions->EditVmax);
    }

    // Every chart shows the last ChartPoints + 1 positions; X is the reading's number in the run.
    const double last = static_cast<double>(GridD->store().size() - 1);
    for (WindowedChartView* chart : LiveCharts())
        chart->showXWindow(last - ChartPoints, last);
}

void TFMain::TestCriticalLevel(float value, const QCheckBox* enabled, const QLineEdit* lower,
                               const QLineEdit* upper) {
    if (!enabled->isChecked())
        return;
    if (CrossesLevel(value, ParseLevel(lower->text()), ParseLevel(upper->text())) &&
        FOptions->CheckBoxBeep->isChecked())
        beeper_->Beep(1000, 500);
}

void TFMain::TimerPeriodTimer() {
    if (!FOptions || DeferTick(TimerPeriod, &TFMain::TimerPeriodTimer))
        return;
    const QString clock = LongTimeText(time_->Now().time()).left(5);
    if (clock == FOptions->MaskEditTimeN->text() && !TimerInterval->isActive())
        TimerInterval->start();
    if (clock == FOptions->MaskEditTimeK->text()) {
        TimerInterval->stop();
        TimerPeriod->stop();
        ButtonStartStop->setText(TextStart);
    }
}
