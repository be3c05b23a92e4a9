#pragma once
#include "ui_formmain.h"
#include <QMainWindow>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class LinkState;
class QLineSeries;
class QTabBar;
class QTime;
class QTimer;
class SearchControl;
class StatusPanels;
class StringGridModel;
class LiveTableModel;
class LastRowFollower;
class Beeper;
class TimeSource;
class WindowedChartView;
class QCheckBox;
class QLineEdit;
struct LiveQuantities;
struct Reading;
struct LoggerRecord;
class LoggerSeries;
class ProtocolExport;
class QCategoryAxis;
class QThread;
class TFOptions;
class QToolButton;

// The main window: owns the whole state of a run. The controls of the form (formmain.ui) are public
// members under their own names, so the window's parts and the other windows reach them directly.
class TFMain : public QMainWindow, public Ui_TFMain {
    Q_OBJECT
public:
    inline static const QString Caption = QStringLiteral("ЗЕЛТ ТНС Zevadav в. 2.0.7");
    enum Panel { PanelPort = 0, PanelModel = 1, PanelConfig = 2, PanelMessage = 3 };
    // Column headers of the live table and the logger table, columns 0 to 9.
    inline static const QStringList TableHeaders{QStringLiteral("Время"),    QStringLiteral("THC,*C"),
                                                 QStringLiteral("WBGT,*C"),  QStringLiteral("RH,%"),
                                                 QStringLiteral("tв.,*C"),   QStringLiteral("tш.,*C"),
                                                 QStringLiteral("tвт.,*C"),  QStringLiteral("tтр.,*C"),
                                                 QStringLiteral("tрад.,*C"), QStringLiteral("W,Вт/м2")};
    // The client area under the menu bar.
    static constexpr int ClientWidth = 655;
    static constexpr int ClientHeight = 542;

    inline static const QString TextNotFound = QStringLiteral("Прибор не найден");
    inline static const QString TextNoAnswer = QStringLiteral("Нет отклика от прибора");
    inline static const QString TextIdentificationLost =
        QStringLiteral("Прибор не ответил при определении конфигурации");

    TFMain(LinkState& link, SearchControl& search, QWidget* parent = nullptr);
    ~TFMain() override;

    // The settings window is made after this one; its check boxes and its toggle need it.
    void SetOptionsWindow(TFOptions* options);
    // The statistics, about and help windows, made after this one, for the menu's toggles and the splash.
    void SetSecondaryWindows(QWidget* stat, QWidget* logo, QWidget* help);

    // What "Передать данные в  Excel" runs (not owned).
    void SetProtocolExport(ProtocolExport* exporter) { exporter_ = exporter; }

    // The clock and the beeper the window uses (the system's unless set; not owned).
    void SetTimeSource(const TimeSource* time);
    void SetBeeper(Beeper* beeper);

    // One live measurement: exchange, conversion, labels, table row, chart points, alarms.
    void ReadCycle();
    // The six live charts, Chart1 to Chart6.
    std::vector<WindowedChartView*> LiveCharts() const;
    static Reading MakeReading(const LiveQuantities& q, const QTime& time);
    // The label under point pointIndex of the logger chart: the time text of that logger table row.
    QString ChartValueGetAxisLabel(int pointIndex) const;
    // The logger chart's vertical range, from the settings window.
    void SetLoggerScale(int minimum, int maximum);
    // Refills the clock panel from the computer's clock.
    void RefillClock();
    // A download is running: no other exchange and no timer handler may run.
    bool ExchangeBusy() const;
    // Ends a running download after its current record and waits for it.
    void EndDownload();
    const LoggerSeries& LoggerPoints() const { return *loggerSeries_; }

    // Everything a cycle shows once the meter has answered: labels, table row, chart windows, alarms.
    void PublishReading(const LiveQuantities& q, const QTime& time);
    // A reading's row in the live table, which keeps its last row in view.
    void AppendLiveRow(const Reading& reading);

    // Opens the settings window when it is hidden, closes it when it is shown.
    QToolButton* ButtonSettings = nullptr;

    StatusPanels* StatusBar = nullptr;
    // The chart/table switch under the pages, over the right end of the status bar.
    QTabBar* TabSet = nullptr;

    // The live readings, shown by StringGridD and fed to the live charts; the texts of StringGridL.
    LiveTableModel* GridD = nullptr;
    StringGridModel* GridL = nullptr;

    // Series of the six live charts, by chart: Chart4, Chart5, Chart6, Chart2, Chart1, Chart3.
    QLineSeries* Series11 = nullptr;    // WBGT
    QLineSeries* LineSeries3 = nullptr; // THC
    QLineSeries* LineSeries4 = nullptr; // RH
    QLineSeries* LineSeries5 = nullptr; // tш
    QLineSeries* Series13 = nullptr;    // tв
    QLineSeries* Series12 = nullptr;    // tвт
    QLineSeries* Series14 = nullptr;    // tтр
    QLineSeries* LineSeries1 = nullptr; // tрад
    QLineSeries* LineSeries2 = nullptr; // W
    // Series of the logger chart ChartValue: Series1..Series4 take THC, RH, tв, tш; 5..10 stay empty.
    QLineSeries* Series1 = nullptr;
    QLineSeries* Series2 = nullptr;
    QLineSeries* Series3 = nullptr;
    QLineSeries* Series4 = nullptr;
    QLineSeries* Series5 = nullptr;
    QLineSeries* Series6 = nullptr;
    QLineSeries* Series7 = nullptr;
    QLineSeries* Series8 = nullptr;
    QLineSeries* Series9 = nullptr;
    QLineSeries* Series10 = nullptr;

    QTimer* TimerDetekt = nullptr;    // identification, 3 s, runs until the meter is identified
    QTimer* TimerInterval = nullptr;  // read cycle, 3 s until the settings change it; stopped
    QTimer* TimerPeriod = nullptr;    // timed-window check, 20 s; stopped
    QTimer* TimerLogo = nullptr;      // about window after start-up, 1 s
    QTimer* TimerDataVremy = nullptr; // clock panel refill, 60 s, always running

public slots:
    void TimerDetektTimer();
    void N6Click();
    void ButtonStartStopClick();
    void TimerIntervalTimer();
    void TimerPeriodTimer();
    void ButtonZagruzitClick();
    void ButtonSaveClick();
    void TimerDataVremyTimer();
    void ComboBoxZChange(int index);
    void TabSetChange(int index);
    void PageControlChange(int page);
    void N1Click();
    void N5Click();
    void N7Click();
    void N8Click();
    void N9Click();
    void TimerLogoTimer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowLoggerRecord(const LoggerRecord& record);
    void DownloadFinished(int end);
    void UpdateLoggerAxisLabels();
    void setExchangeControlsEnabled(bool enabled);
    // Holds a timer's tick back while a download runs; it runs once afterwards. True when held back.
    bool DeferTick(QTimer* timer, void (TFMain::*handler)());
    void RunDeferredTicks();
    void setUpWindow();
    void setUpSettingsButton();
    void setUpLiveCharts();
    void setUpLoggerChart();
    void setUpGrids();
    void setUpTimers();
    void FormCreate();
    void TestCriticalLevel(float value, const QCheckBox* enabled, const QLineEdit* lower,
                           const QLineEdit* upper);

    LinkState& link_;
    SearchControl& search_;
    TFOptions* FOptions = nullptr;
    QWidget* FStat = nullptr;
    QWidget* FLogo = nullptr;
    QWidget* FHelp = nullptr;
    ProtocolExport* exporter_ = nullptr;
    std::unique_ptr<TimeSource> systemTime_;
    std::unique_ptr<Beeper> systemBeeper_;
    const TimeSource* time_ = nullptr;
    Beeper* beeper_ = nullptr;

    LastRowFollower* liveTableFollower_ = nullptr;
    std::unique_ptr<LoggerSeries> loggerSeries_;
    QCategoryAxis* loggerAxis_ = nullptr;
    QTimer* chartRefeed_ = nullptr;
    int loggerScaleMin_ = -30;
    int loggerScaleMax_ = 100;
    QThread* downloadThread_ = nullptr;
    std::atomic<bool> cancelDownload_{false};
    QString panelBeforeDownload_;
    int recordsThisDownload_ = 0;
    bool startWasEnabled_ = false;
    std::vector<std::pair<QTimer*, void (TFMain::*)()>> deferredTicks_;
    std::int8_t IdentByte = 0;  // what the meter answered to 0xA7
    std::int8_t ConfigByte = 0; // what it answered to 0xAB, asked only when IdentByte is 65
};
