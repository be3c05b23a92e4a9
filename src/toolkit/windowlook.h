#pragma once
#include <QFont>

class QWidget;

// "MS Sans Serif" 8 pt, the face of the program's windows, or where it does not exist (it is a Windows
// bitmap face) the closest Helvetica-like face at hand: the usual fallback, DejaVu Sans, is a good deal
// wider and would crowd the fixed layouts.
QFont WindowFont();

// A window of fixed size, as its form laid it out, in the middle of the screen.
void FixAndCentre(QWidget* window);
