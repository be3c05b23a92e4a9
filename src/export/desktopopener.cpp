#include "desktopopener.h"
#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
// On freedesktop systems the opener only starts a launcher and reports that it started, not whether an
// application took the file; ask the desktop's table of default applications first.
bool DesktopHasApplication(const QString& path) {
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return true; // nothing to ask: leave it to the opener
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return true;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 &&
           !process.readAllStandardOutput().trimmed().isEmpty();
}
#else
bool DesktopHasApplication(const QString&) {
    return true;
}
#endif
} // namespace

bool OpenWithDesktop(const QString& path) {
    return DesktopHasApplication(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
