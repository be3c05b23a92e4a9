#include "formlogo.h"

TFLogo::TFLogo(QWidget* parent) : QWidget(parent, Qt::Window) { setWindowTitle(QStringLiteral("FLogo")); }
