#include "formhelp.h"

TFHelp::TFHelp(QWidget* parent) : QWidget(parent, Qt::Window) { setWindowTitle(QStringLiteral("Помощь")); }
