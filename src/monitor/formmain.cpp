#include "formmain.h"
#include "link/searchcontrol.h"
#include "link/unitcomport.h"
#include "settings/chartpoints.h"
#include "toolkit/compacttabs.h"
#include "toolkit/fonts.h"
#include "toolkit/messages.h"
#include "identification.h"
#include "settings/formoptions.h"
#include "toolkit/resources.h"
#include "toolkit/statuspanels.h"
#include "toolkit/stringgridmodel.h"
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFontDatabase>
#include <QMenuBar>
#include <QToolButton>
#include <QGraphicsLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPointer>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <utility>

namespace {
constexpr int StatusBarHeight = 19;
const QColor Red(0xFF, 0x00, 0x00);
const QColor Lime(0x00, 0xFF, 0x00);

// "MS Sans Serif" 8 pt is a Windows bitmap face. Elsewhere the closest at hand is a Helvetica-like
// sans (Liberation Sans, Arimo or Nimbus Sans): the usual fallback, DejaVu Sans, is a good deal wider
// and would crowd the fixed layout.
QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setPointSize(8);
    return font;
}

void styleValueLabel(QLabel* label, const QColor& colour) {
    QFont font(DigitalReadoutFamily);
    font.setPixelSize(24);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QLineSeries* addSeries(QChart* chart, const char* name) {
    auto* series = new QLineSeries;
    series->setObjectName(QString::fromLatin1(name));
    chart->addSeries(series);
    return series;
}

// Axes, legend, title and frame are all off: the chart is only its curves over the background
// picture, sitting in the panel picture's bed.
void setUpLiveChart(QChartView* view, std::initializer_list<std::pair<QLineSeries**, const char*>> series) {
    QChart* chart = view->chart();
    chart->legend()->hide();
    chart->setMargins({});
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundPen(Qt::NoPen);
    chart->setBackgroundBrush(QPixmap(QStringLiteral(":/pictures/chartback.png")));
    view->setRenderHint(QPainter::Antialiasing);
    for (const auto& [member, name] : series)
        *member = addSeries(chart, name);
}
} // namespace

TFMain::TFMain(LinkState& link, SearchControl& search, QWidget* parent)
    : QMainWindow(parent), link_(link), search_(search) {
    initEmbeddedResources();
    setFont(windowFont());
    setupUi(this);
    setUpWindow();
    setUpLiveCharts();
    setUpLoggerChart();
    setUpGrids();
    setUpTimers();
    connect(TimerDetekt, &QTimer::timeout, this, &TFMain::TimerDetektTimer);
    FormCreate();
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
    setUpLiveChart(Chart4, {{&Series11, "Series11"}, {&LineSeries3, "LineSeries3"}});
    setUpLiveChart(Chart5, {{&LineSeries4, "LineSeries4"}});
    setUpLiveChart(Chart6, {{&LineSeries5, "LineSeries5"}, {&Series13, "Series13"}});
    setUpLiveChart(Chart2, {{&Series12, "Series12"}, {&Series14, "Series14"}});
    setUpLiveChart(Chart1, {{&LineSeries1, "LineSeries1"}});
    setUpLiveChart(Chart3, {{&LineSeries2, "LineSeries2"}});
}

void TFMain::setUpLoggerChart() {
    QChart* chart = ChartValue->chart();
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    chart->setBackgroundBrush(QColor(0xC0, 0xC0, 0xC0));
    ChartValue->setRenderHint(QPainter::Antialiasing);

    const std::pair<QLineSeries**, QColor> series[] = {
        {&Series1, QColor(0x00, 0x80, 0x00)}, {&Series2, QColor(0xFF, 0x00, 0x00)},
        {&Series3, QColor(0xFF, 0xFF, 0x00)}, {&Series4, QColor(0x00, 0x00, 0xFF)},
        {&Series5, QColor(0xFF, 0xFF, 0xFF)}, {&Series6, QColor(0x80, 0x80, 0x80)},
        {&Series7, QColor(0xFF, 0x00, 0xFF)}, {&Series8, QColor(0x00, 0x80, 0x80)},
        {&Series9, QColor(0x00, 0x00, 0x80)}, {&Series10, QColor(0x80, 0x00, 0x00)}};
    int number = 1;
    for (const auto& [member, colour] : series) {
        const QByteArray name = "Series" + QByteArray::number(number);
        QLineSeries* s = addSeries(chart, name.constData());
        s->setColor(colour);
        s->setPointsVisible(true);
        s->setMarkerSize(2);
        s->setVisible(number == 1); // THC is charted first
        *member = s;
        ++number;
    }
}

void TFMain::setUpGrids() {
    const int columns = static_cast<int>(TableHeaders.size());
    GridD = new StringGridModel(columns, 1, this);
    GridL = new StringGridModel(columns, 1, this);
    for (auto [view, model] : {std::pair{StringGridD, GridD}, {StringGridL, GridL}}) {
        view->setModel(model);
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
    installMissingFonts(QFontDatabase::families(), userFontFolder(), embeddedFonts(), [](const QString& text) {
        Messages::show(QMessageBox::Warning, QCoreApplication::applicationName(), text);
    });
}

void TFMain::SetOptionsWindow(TFOptions* options) { FOptions = options; }

void TFMain::N6Click() {
    if (!FOptions)
        return;
    if (FOptions->isVisible())
        FOptions->close();
    else
        FOptions->show();
}

void TFMain::TimerDetektTimer() {
    if (!link_.IsDeviceFound()) {
        StatusBar->setPanelText(PanelMessage, TextNotFound);
        return;
    }
    search_.Suspend();
    StatusBar->setPanelText(PanelMessage, QStringLiteral("Определение конфигурации"));
    link_.PortName[3] = QLatin1Char(link_.PortDigit());
    StatusBar->setPanelText(PanelPort, link_.Ports().displayName(link_.PortNumber));
    StatusBar->panel(PanelPort)->setToolTip(link_.Ports().systemName(link_.PortNumber));
    TimerDetekt->stop(); // identified once for the whole run
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
