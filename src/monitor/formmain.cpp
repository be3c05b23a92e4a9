#include "formmain.h"
#include "identification.h"
#include "link/searchcontrol.h"
#include "link/unitcomport.h"
#include "livetablemodel.h"
#include "loggerseries.h"
#include "protocolexport.h"
#include "settings/chartpoints.h"
#include "settings/formoptions.h"
#include "toolkit/beeper.h"
#include "toolkit/compacttabs.h"
#include "toolkit/fonts.h"
#include "toolkit/lastrowfollower.h"
#include "toolkit/messages.h"
#include "toolkit/resources.h"
#include "toolkit/statuspanels.h"
#include "toolkit/stringgridmodel.h"
#include "toolkit/timesource.h"
#include "toolkit/windowedchart.h"
#include "toolkit/windowlook.h"
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGraphicsLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTabBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <utility>

namespace {
constexpr int StatusBarHeight = 19;
const QColor Red(0xFF, 0x00, 0x00);
const QColor Lime(0x00, 0xFF, 0x00);

void styleValueLabel(QLabel* label, const QColor& colour) {
    QFont font(DigitalReadoutFamily);
    font.setPixelSize(24);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// Axes, legend, title and frame are all off: the chart is only its curves over the background
// picture, sitting in the panel picture's bed.
void styleLiveChart(WindowedChartView* view, double yLo, double yHi) {
    QChart* chart = view->chart();
    chart->legend()->hide();
    chart->setMargins({});
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundPen(Qt::NoPen);
    chart->setBackgroundBrush(QPixmap(QStringLiteral(":/pictures/chartback.png")));
    view->setRenderHint(QPainter::Antialiasing);
    view->setYRange(yLo, yHi);
}
} // namespace

TFMain::TFMain(LinkState& link, SearchControl& search, QWidget* parent)
    : QMainWindow(parent), link_(link), search_(search) {
    initEmbeddedResources();
    setFont(WindowFont());
    setupUi(this);
    setUpWindow();
    setUpGrids(); // the live charts are fed from the live table's store
    setUpLiveCharts();
    setUpLoggerChart();
    setUpTimers();
    systemTime_ = std::make_unique<SystemTimeSource>();
    systemBeeper_ = MakeSystemBeeper();
    time_ = systemTime_.get();
    beeper_ = systemBeeper_.get();
    connect(TimerDetekt, &QTimer::timeout, this, &TFMain::TimerDetektTimer);
    connect(TimerInterval, &QTimer::timeout, this, &TFMain::TimerIntervalTimer);
    connect(TimerPeriod, &QTimer::timeout, this, &TFMain::TimerPeriodTimer);
    connect(ButtonStartStop, &QPushButton::clicked, this, &TFMain::ButtonStartStopClick);
    connect(ButtonZagruzit, &QPushButton::clicked, this, &TFMain::ButtonZagruzitClick);
    connect(ButtonSave, &QPushButton::clicked, this, &TFMain::ButtonSaveClick);
    connect(TimerDataVremy, &QTimer::timeout, this, &TFMain::TimerDataVremyTimer);
    connect(TimerLogo, &QTimer::timeout, this, &TFMain::TimerLogoTimer);
    connect(N1, &QAction::triggered, this, &TFMain::N1Click);
    connect(N5, &QAction::triggered, this, &TFMain::N5Click);
    connect(N7, &QAction::triggered, this, &TFMain::N7Click);
    connect(N8, &QAction::triggered, this, &TFMain::N8Click);
    connect(N9, &QAction::triggered, this, &TFMain::N9Click);
    connect(ComboBoxZ, &QComboBox::currentIndexChanged, this, &TFMain::ComboBoxZChange);
    connect(TabSet, &QTabBar::currentChanged, this, &TFMain::TabSetChange);
    connect(PageControl, &QTabWidget::currentChanged, this, &TFMain::PageControlChange);
    FormCreate();
}

TFMain::~TFMain() {
    EndDownload();
}

void TFMain::closeEvent(QCloseEvent* event) {
    EndDownload(); // a download in progress ends after its current record
    QMainWindow::closeEvent(event);
}

void TFMain::setUpWindow() {
    setWindowTitle(Caption);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);

    StatusBar = new StatusPanels(this);
    StatusBar->setPanels(
        {{55, Qt::AlignHCenter}, {70, Qt::AlignHCenter}, {50, Qt::AlignHCenter}, {50, Qt::AlignLeft}});
    StatusBar->setFixedHeight(StatusBarHeight);
    setStatusBar(StatusBar);

    setUpSettingsButton();
    // The client area is measured below the menu bar, so the window is taller by the bar's height.
    int menuHeight = MainMenu->heightForWidth(ClientWidth);
    if (menuHeight < 0)
        menuHeight = MainMenu->sizeHint().height();
    setFixedSize(ClientWidth, menuHeight + ClientHeight);

    TabSet = new CompactTabBar(this, 17);
    TabSet->setObjectName(QStringLiteral("TabSet"));
    TabSet->setShape(QTabBar::RoundedSouth);
    TabSet->setDrawBase(false);
    TabSet->addTab(QStringLiteral("Графики"));
    TabSet->addTab(QStringLiteral("Данные"));
    TabSet->setCurrentIndex(0);
    TabSet->setGeometry(544, menuHeight + 524, 112, 17);
    TabSet->raise();

    // The first pair of each value panel is red, the second lime.
    for (QLabel* label : {Label25, Label23, Label21, Label27, Label29, Label30})
        styleValueLabel(label, Red);
    for (QLabel* label : {Label26, Label22, Label28})
        styleValueLabel(label, Lime);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The menu bar holds only the five items of the program's menu; the settings window is opened from a
// button at the bar's right end, where it is in sight without taking an item's place.
void TFMain::setUpSettingsButton() {
    auto* button = new QToolButton(MainMenu);
    button->setObjectName(QStringLiteral("ButtonSettings"));
    button->setText(QStringLiteral("Настройки"));
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, &TFMain::N6Click);
    MainMenu->setCornerWidget(button, Qt::TopRightCorner);
    ButtonSettings = button;
}

void TFMain::setUpLiveCharts() {
    styleLiveChart(Chart4, 0, 75);
    styleLiveChart(Chart5, 0, 100);
    styleLiveChart(Chart6, -35, 65);
    styleLiveChart(Chart2, -40, 50);
    styleLiveChart(Chart1, 0, 160);
    styleLiveChart(Chart3, 0, 1700);
    // Each series is fed from the reading store, by the reading's number in the run, only for the
    // positions its chart shows; a reading without the value (no dew point) leaves a gap in no series.
    auto add = [this](WindowedChartView* chart, QLineSeries** member, const char* name,
                      Reading::Column column, const QColor& colour) {
        auto* series = new QLineSeries;
        series->setObjectName(QString::fromLatin1(name));
        series->setPen(QPen(colour, 2));
        *member = chart->addFeed(series, [this, column](double from, double to, QList<QPointF>& out) {
            const ReadingStore& store = GridD->store();
            if (store.empty() || to < 0)
                return;
            const auto first = static_cast<std::size_t>(std::max(0.0, std::ceil(from)));
            const auto last = std::min(store.size() - 1, static_cast<std::size_t>(std::floor(to)));
            for (std::size_t i = first; i <= last && first <= last; ++i)
                if (store.at(i).has(column))
                    out.append(QPointF(static_cast<double>(i), store.at(i).value(column)));
        });
    };
    add(Chart4, &Series11, "Series11", Reading::WBGT, Lime);
    add(Chart4, &LineSeries3, "LineSeries3", Reading::THC, Red);
    add(Chart5, &LineSeries4, "LineSeries4", Reading::RH, Red);
    add(Chart6, &LineSeries5, "LineSeries5", Reading::Tsh, Lime);
    add(Chart6, &Series13, "Series13", Reading::Tv, Red);
    add(Chart2, &Series12, "Series12", Reading::Tvt, Red);
    add(Chart2, &Series14, "Series14", Reading::Ttr, Lime);
    add(Chart1, &LineSeries1, "LineSeries1", Reading::Trad, Red);
    add(Chart3, &LineSeries2, "LineSeries2", Reading::W, Red);
}

std::vector<WindowedChartView*> TFMain::LiveCharts() const {
    return {Chart1, Chart2, Chart3, Chart4, Chart5, Chart6};
}

void TFMain::setUpGrids() {
    const int columns = static_cast<int>(TableHeaders.size());
    GridD = new LiveTableModel(this);
    GridL = new StringGridModel(columns, 1, this);
    StringGridD->setModel(GridD);
    StringGridL->setModel(GridL);
    liveTableFollower_ = new LastRowFollower(StringGridD);
    for (QTableView* view : {StringGridD, StringGridL}) {
        view->horizontalHeader()->setFixedHeight(18);
        view->horizontalHeader()->setHighlightSections(false);
    }
}

void TFMain::setUpTimers() {
    auto timer = [this](int intervalMs, bool enabled) {
        auto* t = new QTimer(this);
        t->setInterval(intervalMs);
        if (enabled)
            t->start();
        return t;
    };
    TimerDetekt = timer(3000, true);
    TimerInterval = timer(3000, false);
    TimerPeriod = timer(20000, false);
    TimerLogo = timer(1000, true);
    TimerDataVremy = timer(60000, true);
    TimerDetekt->setObjectName(QStringLiteral("TimerDetekt"));
    TimerInterval->setObjectName(QStringLiteral("TimerInterval"));
    TimerPeriod->setObjectName(QStringLiteral("TimerPeriod"));
    TimerLogo->setObjectName(QStringLiteral("TimerLogo"));
    TimerDataVremy->setObjectName(QStringLiteral("TimerDataVremy"));
}

void TFMain::FormCreate() {
    ChartPoints = 100;
    for (int column = 0; column < TableHeaders.size(); ++column)
        GridD->setHeader(column, TableHeaders[column]);
    for (int column = 0; column < TableHeaders.size(); ++column)
        GridL->setHeader(column, TableHeaders[column]);

    QPointer<StatusPanels> panels = StatusBar;
    search_.Resume([panels](const QString& text) {
        if (panels)
            panels->setPanelText(PanelMessage, text);
    });
    QApplication::processEvents();

    // The value labels' face and the GOST face: written into the user's font folder when the system
    // lacks them. A failure is told once; everything above is already in place.
    installMissingFonts(QFontDatabase::families(), userFontFolder(), embeddedFonts(),
                        [](const QString& text) {
                            Messages::show(QMessageBox::Warning, QCoreApplication::applicationName(), text);
                        });
}

void TFMain::SetOptionsWindow(TFOptions* options) {
    FOptions = options;
    // The logger chart's vertical scale follows the settings window's bars.
    connect(options, &TFOptions::ChartValueMaximumChange, this, [this](int maximum) {
        loggerScaleMax_ = maximum;
        SetLoggerScale(loggerScaleMin_, loggerScaleMax_);
    });
    connect(options, &TFOptions::ChartValueMinimumChange, this, [this](int minimum) {
        loggerScaleMin_ = minimum;
        SetLoggerScale(loggerScaleMin_, loggerScaleMax_);
    });
}

void TFMain::SetTimeSource(const TimeSource* time) {
    time_ = time ? time : systemTime_.get();
}

void TFMain::SetBeeper(Beeper* beeper) {
    beeper_ = beeper ? beeper : systemBeeper_.get();
}

namespace {
// A menu command closes its window when it is shown, and shows it (without taking the input) otherwise.
void toggle(QWidget* window) {
    if (!window)
        return;
    if (window->isVisible())
        window->close();
    else
        window->show();
}
} // namespace

void TFMain::SetSecondaryWindows(QWidget* stat, QWidget* logo, QWidget* help) {
    FStat = stat;
    FLogo = logo;
    FHelp = help;
}

void TFMain::N6Click() {
    toggle(FOptions);
}

void TFMain::N1Click() {
    if (exporter_ && !ExchangeBusy())
        exporter_->Run(PageControl->currentIndex(), GridD->store(), *GridL);
}
void TFMain::N5Click() {
    toggle(FStat);
}
void TFMain::N7Click() {
    toggle(FHelp);
}
void TFMain::N8Click() {
    toggle(FLogo);
}
void TFMain::N9Click() {
    close();
}

void TFMain::TimerLogoTimer() {
    if (DeferTick(TimerLogo, &TFMain::TimerLogoTimer))
        return;
    // The about window shows 1 s after start and goes 10 s later, whatever was done with it meanwhile.
    if (FLogo)
        FLogo->show();
    if (TimerLogo->interval() != 10000) {
        TimerLogo->setInterval(10000);
        return;
    }
    TimerLogo->stop();
    if (FLogo)
        FLogo->close();
}

void TFMain::TimerDetektTimer() {
    if (DeferTick(TimerDetekt, &TFMain::TimerDetektTimer))
        return;
    if (!link_.IsDeviceFound()) {
        StatusBar->setPanelText(PanelMessage, TextNotFound);
        return;
    }
    search_.Suspend();
    StatusBar->setPanelText(PanelMessage, QStringLiteral("Определение конфигурации"));
    link_.PortName[3] = QLatin1Char(link_.PortDigit());
    StatusBar->setPanelText(PanelPort, link_.Ports().displayName(link_.PortNumber));
    StatusBar->panel(PanelPort)->setToolTip(link_.Ports().systemName(link_.PortNumber));
    TimerDetekt->stop();  // identified once for the whole run
    StatusBar->repaint(); // the text stands while the exchange holds the main thread

    const Identification id = Identification::Run(link_);
    IdentByte = id.IdentByte;
    if (id.ConfigByte) {
        ConfigByte = *id.ConfigByte;
        if (const auto label = Identification::ConfigLabel(ConfigByte))
            StatusBar->setPanelText(PanelConfig, *label);
    }
    if (id.result != ExchangeResult::Done) {
        // The meter answered the search and then fell silent: monitoring stays off, the rest still works.
        StatusBar->setPanelText(PanelMessage, TextIdentificationLost);
        return;
    }
    if (IdentByte == Identification::SupportedMeter) {
        StatusBar->setPanelText(PanelModel, QStringLiteral("ЛРГ/24"));
        ButtonStartStop->setEnabled(true);
        if (FOptions) {
            FOptions->CheckBoxT->setEnabled(true);
            FOptions->CheckBoxRH->setEnabled(true);
            FOptions->CheckBoxV->setEnabled(true);
        }
    }
    StatusBar->setPanelText(PanelMessage, QStringLiteral("Для начала работы нажмите старт"));
}
