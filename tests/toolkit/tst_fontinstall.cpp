// Installing the two embedded faces into a user font folder at start, with a temporary folder.
#include "toolkit/fonts.h"
#include "toolkit/resources.h"
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray resourceBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
QByteArray fileBytes(const QString& path) {
    return resourceBytes(path);
}
} // namespace

class TestFontInstall : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { initEmbeddedResources(); }

    void missingFacesAreWrittenAndRegistered() {
        QTemporaryDir dir;
        QStringList errors;
        // A stale file of the same name is replaced.
        QFile stale(dir.filePath("GOST_type_A.TTF"));
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("old") == 3);
        stale.close();
        QVERIFY(installMissingFonts({"DejaVu Sans", "Noto Mono"}, dir.path(), embeddedFonts(),
                                    [&](const QString& e) { errors << e; }));
        QVERIFY(errors.isEmpty());
        for (const auto& font : embeddedFonts()) {
            const QByteArray written = fileBytes(dir.filePath(font.fileName));
            QVERIFY(written.size() > 1000);
            QCOMPARE(written, resourceBytes(font.resource));
            QVERIFY2(QFontDatabase::families().contains(font.face), qPrintable(font.face));
        }
    }

    void facesAlreadyThereAreLeftAlone() {
        QTemporaryDir dir;
        // A longer name holding the face counts as installed.
        const QStringList installed{"Arial", "GOST type A Bold", "Digital Readout Thick Upright"};
        QVERIFY(installMissingFonts(installed, dir.path(), embeddedFonts(), [](const QString&) {}));
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());

        QVERIFY(installMissingFonts({"GOST type A"}, dir.path(), embeddedFonts(), [](const QString&) {}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Digirtu_.ttf"});
    }

    void unwritableFolderGivesOneMessageAndStops() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath("not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString folder = dir.filePath("not-a-folder/fonts");
        QStringList errors;
        QVERIFY(!installMissingFonts({}, folder, embeddedFonts(), [&](const QString& e) { errors << e; }));
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors[0].contains("GOST type A"));
    }

    void userFolderIsTheUsersOwn() {
        QTemporaryDir dir;
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
        QCOMPARE(userFontFolder(), dir.path() + "/fonts");
        qunsetenv("XDG_DATA_HOME");
    }
};

QTEST_MAIN(TestFontInstall)
#include "tst_fontinstall.moc"
