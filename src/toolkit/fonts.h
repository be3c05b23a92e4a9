#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// The two faces the program carries with it: the value labels use the digital readout face.
inline const QString DigitalReadoutFamily = QStringLiteral("Digital Readout Thick Upright");
inline const QString GostFamily = QStringLiteral("GOST type A");

// The two faces the windows use, carried as resources. At start a face that the system lacks is written
// into the user's own font folder (no administrator rights needed, and it stays for the next run) and
// registered for this run.
struct EmbeddedFont {
    QString face;     // the family name looked for among the installed ones
    QString resource; // Qt resource path of the TrueType file
    QString fileName; // the file written into the font folder
};

const QList<EmbeddedFont>& embeddedFonts();

// The user's font folder: ~/.local/share/fonts on Linux, %LOCALAPPDATA%\Microsoft\Windows\Fonts on Windows.
QString userFontFolder();

// For every font whose face does not occur in installedFamilies (a plain substring search over all the
// names), writes its file into folder, replacing a file of that name, and registers it for this run.
// Stops at the first failure and hands its text to showError once. Returns whether all went well.
bool installMissingFonts(const QStringList& installedFamilies, const QString& folder,
                         const QList<EmbeddedFont>& fonts,
                         const std::function<void(const QString&)>& showError);
