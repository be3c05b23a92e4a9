#include "formoptions.h"

TFOptions::TFOptions(QWidget* parent) : QWidget(parent, Qt::Window) { setWindowTitle(QStringLiteral("Настройки")); }
