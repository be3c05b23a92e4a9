#include "fonts.h"
#include "resources.h"
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QSaveFile>
#include <QStandardPaths>

const QList<EmbeddedFont>& embeddedFonts() {
    static const QList<EmbeddedFont> fonts{
        {GostFamily, QStringLiteral(":/fonts/GOST_type_A.ttf"), QStringLiteral("GOST_type_A.TTF")},
        {DigitalReadoutFamily, QStringLiteral(":/fonts/Digirtu_.ttf"), QStringLiteral("Digirtu_.ttf")},
    };
    return fonts;
}

QString userFontFolder() {
#ifdef Q_OS_WIN
    return qEnvironmentVariable("LOCALAPPDATA") + QStringLiteral("/Microsoft/Windows/Fonts");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/fonts");
#endif
}

bool installMissingFonts(const QStringList& installedFamilies, const QString& folder,
                         const QList<EmbeddedFont>& fonts,
                         const std::function<void(const QString&)>& showError) {
    initEmbeddedResources();
    const QString names = installedFamilies.join(QLatin1Char('\n'));
    for (const EmbeddedFont& font : fonts) {
        if (names.contains(font.face))
            continue;
        QFile source(font.resource);
        if (!source.open(QIODevice::ReadOnly)) {
            showError(
                QStringLiteral("Не удалось прочитать шрифт \"%1\" из ресурсов программы.").arg(font.face));
            return false;
        }
        const QByteArray data = source.readAll();
        const QString path = QDir(folder).filePath(font.fileName);
        QSaveFile target(path);
        if (!QDir().mkpath(folder) || !target.open(QIODevice::WriteOnly) ||
            target.write(data) != data.size() || !target.commit()) {
            showError(QStringLiteral("Не удалось установить шрифт \"%1\" в папку %2: %3")
                          .arg(font.face, QDir::toNativeSeparators(folder), target.errorString()));
            return false;
        }
        if (QFontDatabase::addApplicationFont(path) < 0) {
            showError(QStringLiteral("Не удалось подключить шрифт \"%1\" (%2).")
                          .arg(font.face, QDir::toNativeSeparators(path)));
            return false;
        }
    }
    return true;
}
