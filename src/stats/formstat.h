#pragma once
#include <QWidget>

class BarMarks;
class QBarCategoryAxis;
class QBarSeries;
class QBarSet;
class QChartView;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QValueAxis;
class ReadingStore;

// Window TFStat; created hidden at start-up and shown or hidden for the rest of the run. It shows the
// histogram, minimum and maximum of one monitored quantity over every live reading in the store; the
// histogram is a snapshot, taken again at each showing, "Обновить" and change of quantity.
class TFStat : public QWidget {
    Q_OBJECT
public:
    // store: the live readings (not owned); without one the window counts no readings.
    explicit TFStat(const ReadingStore* store = nullptr, QWidget* parent = nullptr);

    QComboBox* ComboBoxStat = nullptr;
    QPushButton* ButtonStatReload = nullptr;
    QFrame* PanelMinMax = nullptr;
    QLabel* StaticTextMin = nullptr;
    QLabel* StaticTextMax = nullptr;
    QChartView* ChartStat = nullptr;
    QBarSeries* BarSeriesStat = nullptr;
    QBarSet* BarSetStat = nullptr;           // the bars: one value per class
    QBarCategoryAxis* AxisClasses = nullptr; // the bars' labels
    QValueAxis* AxisCounts = nullptr;
    BarMarks* MarksStat = nullptr; // each bar's share of all bars
    QPushButton* ButtonClose = nullptr;

    // Duct section ("Расход"), below the client area: the radio buttons only switch the edits.
    QGroupBox* m3c = nullptr;
    QRadioButton* RadioButtonXY = nullptr;
    QRadioButton* RadioButtonD = nullptr;
    QRadioButton* RadioButtonS = nullptr;
    QLineEdit* EditX = nullptr;
    QLineEdit* EditY = nullptr;
    QLineEdit* EditD = nullptr;
    QLineEdit* EditS = nullptr;
    QLabel* StaticTextP = nullptr;

public slots:
    void FormShow();
    void ButtonStatReloadClick();
    void ComboBoxStatChange();
    void ButtonCloseClick();
    void RadioButtonXYClick();
    void RadioButtonDClick();
    void RadioButtonSClick();
    // Recounts the chosen quantity from the store; with no quantity chosen the chart is left empty.
    void StatisticsRefresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setUpChart();
    void enableEdits(bool xy, bool d, bool s);

    const ReadingStore* store_;
};
