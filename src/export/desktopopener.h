#pragma once
#include <QString>

// Opens a file in the application the desktop uses for its type. False when none can open it.
bool OpenWithDesktop(const QString& path);
