#pragma once
#include <QPointer>
#include <QWidget>

class MaskEdit;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;

// Window TFOptions; created hidden at start-up and shown or hidden for the rest of the run. The settings
// live in its controls and nowhere else: other windows read the controls below whenever they need a value.
class TFOptions : public QWidget {
    Q_OBJECT
public:
    // timerInterval: the main window's measurement timer, whose interval follows TrackBarInterv.
    explicit TFOptions(QTimer* timerInterval = nullptr, QWidget* parent = nullptr);

    // Critical levels; the edits hold decimal numbers written with a point.
    QCheckBox* CheckBoxT = nullptr;
    QLineEdit* EditTmin = nullptr;
    QLineEdit* EditTmax = nullptr;
    QCheckBox* CheckBoxRH = nullptr;
    QLineEdit* EditRHmin = nullptr;
    QLineEdit* EditRHmax = nullptr;
    QCheckBox* CheckBoxV = nullptr;
    QLineEdit* EditVmin = nullptr;
    QLineEdit* EditVmax = nullptr;
    QCheckBox* CheckBoxBeep = nullptr;

    // Vertical scale of the logger chart and the point count of the live charts.
    QSlider* TrackBarYMax = nullptr;
    QSlider* TrackBarYMin = nullptr;
    QSlider* TrackBarXKol = nullptr;
    QLabel* StaticTextYMax = nullptr;
    QLabel* StaticTextYMin = nullptr;
    QLabel* StaticTextXKol = nullptr;

    // Measurement interval in seconds.
    QSlider* TrackBarInterv = nullptr;
    QLabel* LabelInterv = nullptr;

    // Timed window: the switch and the start and end times, "hh:mm".
    QCheckBox* CheckBoxTimer = nullptr;
    MaskEdit* MaskEditTimeN = nullptr;
    MaskEdit* MaskEditTimeK = nullptr;

    QPushButton* ButtonClose = nullptr;

public slots:
    void TrackBarYMaxChange();
    void TrackBarYMinChange();
    void TrackBarXKolChange();
    void TrackBarIntervChange();
    void ButtonCloseClick();

signals:
    // The new ends of the logger chart's vertical axis; the window holding that chart applies them.
    void ChartValueMaximumChange(int maximum);
    void ChartValueMinimumChange(int minimum);

private:
    QPointer<QTimer> timerInterval_;
};
