#pragma once
#include <QStringList>

// The two faces the program carries with it: the value labels use the digital readout face.
inline const QString DigitalReadoutFamily = QStringLiteral("Digital Readout Thick Upright");
inline const QString GostFamily = QStringLiteral("GOST type A");

// Makes the embedded fonts usable by this process (not installed into the user's font folder).
// Safe to call more than once; later calls do nothing. Returns the families that were registered.
QStringList registerEmbeddedFonts();
