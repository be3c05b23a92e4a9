#pragma once
#include <QStatusBar>
#include <QVector>

class QLabel;

// A status bar made of fixed-width text panels, addressed by index from the left, like the meter
// program's four panels (port, model, configuration, messages). The last panel takes the rest.
class StatusPanels : public QStatusBar {
    Q_OBJECT
public:
    struct Panel {
        int width;
        Qt::Alignment alignment;
    };
    explicit StatusPanels(QWidget* parent = nullptr);
    void setPanels(const QVector<Panel>& panels);

    int panelCount() const { return static_cast<int>(labels_.size()); }
    QString panelText(int index) const;
    QLabel* panel(int index) const;

public slots:
    void setPanelText(int index, const QString& text);

private:
    QVector<QLabel*> labels_;
};
