#include "formoptions.h"
#include "chartpoints.h"
#include "maskedit.h"
#include "toolkit/windowlook.h"
#include "ui_formoptions.h"
#include <QTimer>

TFOptions::TFOptions(QTimer* timerInterval, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      timerInterval_(timerInterval) {
    Ui::TFOptions ui;
    ui.setupUi(this);
    setFont(WindowFont());
    FixAndCentre(this);

    CheckBoxT = ui.CheckBoxT;
    EditTmin = ui.EditTmin;
    EditTmax = ui.EditTmax;
    CheckBoxRH = ui.CheckBoxRH;
    EditRHmin = ui.EditRHmin;
    EditRHmax = ui.EditRHmax;
    CheckBoxV = ui.CheckBoxV;
    EditVmin = ui.EditVmin;
    EditVmax = ui.EditVmax;
    CheckBoxBeep = ui.CheckBoxBeep;
    TrackBarYMax = ui.TrackBarYMax;
    TrackBarYMin = ui.TrackBarYMin;
    TrackBarXKol = ui.TrackBarXKol;
    StaticTextYMax = ui.StaticTextYMax;
    StaticTextYMin = ui.StaticTextYMin;
    StaticTextXKol = ui.StaticTextXKol;
    TrackBarInterv = ui.TrackBarInterv;
    LabelInterv = ui.LabelInterv;
    CheckBoxTimer = ui.CheckBoxTimer;
    MaskEditTimeN = ui.MaskEditTimeN;
    MaskEditTimeK = ui.MaskEditTimeK;
    ButtonClose = ui.ButtonClose;

    // Connected only now: the positions drawn in the form are not changes and touch nothing outside.
    connect(TrackBarYMax, &QSlider::valueChanged, this, &TFOptions::TrackBarYMaxChange);
    connect(TrackBarYMin, &QSlider::valueChanged, this, &TFOptions::TrackBarYMinChange);
    connect(TrackBarXKol, &QSlider::valueChanged, this, &TFOptions::TrackBarXKolChange);
    connect(TrackBarInterv, &QSlider::valueChanged, this, &TFOptions::TrackBarIntervChange);
    connect(ButtonClose, &QPushButton::clicked, this, &TFOptions::ButtonCloseClick);
}

// Moving a bar re-enters its handler, so a bar pushed onto or past the other one walks back a step at a
// time until the two are one apart; only the call that finds them apart touches the chart.
void TFOptions::TrackBarYMaxChange() {
    if (TrackBarYMax->value() <= TrackBarYMin->value()) {
        TrackBarYMax->setValue(TrackBarYMax->value() + 1);
        return;
    }
    emit ChartValueMaximumChange(TrackBarYMax->value());
    StaticTextYMax->setText(QStringLiteral("Max ") + QString::number(TrackBarYMax->value()));
}

void TFOptions::TrackBarYMinChange() {
    if (TrackBarYMax->value() <= TrackBarYMin->value()) {
        TrackBarYMin->setValue(TrackBarYMin->value() - 1);
        return;
    }
    emit ChartValueMinimumChange(TrackBarYMin->value());
    StaticTextYMin->setText(QStringLiteral("Min ") + QString::number(TrackBarYMin->value()));
}

void TFOptions::TrackBarXKolChange() {
    ChartPoints = TrackBarXKol->value();
    StaticTextXKol->setText(QString::number(TrackBarXKol->value()));
}

void TFOptions::TrackBarIntervChange() {
    // Applies at once: an active timer restarts with the new interval.
    if (timerInterval_)
        timerInterval_->setInterval(TrackBarInterv->value() * 1000);
    // " cek." in Latin letters, unlike the Cyrillic "сек." drawn in the form.
    LabelInterv->setText(QStringLiteral("Интервал измерений, ") + QString::number(TrackBarInterv->value()) +
                         QStringLiteral(" cek."));
}

void TFOptions::ButtonCloseClick() {
    close();
}
