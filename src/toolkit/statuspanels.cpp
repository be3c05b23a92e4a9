#include "statuspanels.h"
#include <QLabel>

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
}

void StatusPanels::setPanels(const QVector<Panel>& panels) {
    for (QLabel* label : labels_) {
        removeWidget(label);
        delete label;
    }
    labels_.clear();
    for (qsizetype i = 0; i < panels.size(); ++i) {
        auto* label = new QLabel(this);
        label->setAlignment(panels[i].alignment | Qt::AlignVCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const bool last = i + 1 == panels.size();
        if (last)
            label->setMinimumWidth(panels[i].width);
        else
            label->setFixedWidth(panels[i].width);
        addWidget(label, last ? 1 : 0);
        labels_.push_back(label);
    }
}

QLabel* StatusPanels::panel(int index) const {
    return index >= 0 && index < labels_.size() ? labels_[index] : nullptr;
}

QString StatusPanels::panelText(int index) const {
    const QLabel* label = panel(index);
    return label ? label->text() : QString();
}

void StatusPanels::setPanelText(int index, const QString& text) {
    if (QLabel* label = panel(index))
        label->setText(text);
}
