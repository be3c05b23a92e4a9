#include "formstat.h"

TFStat::TFStat(QWidget* parent) : QWidget(parent, Qt::Window) { setWindowTitle(QStringLiteral("Статистика")); }
