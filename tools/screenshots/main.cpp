// Draws the program's windows into PNG files without a meter and without a display:
//   QT_QPA_PLATFORM=offscreen zevadav-screenshots OUTDIR
#include "link/searchcontrol.h"
#include "link/nullport.h"
#include "link/unitcomport.h"
#include "monitor/formmain.h"
#include "settings/formoptions.h"
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

namespace {
bool save(QWidget& window, const QString& path) {
    window.show();
    QApplication::processEvents();
    const bool ok = window.grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << '\n';
    return ok;
}
} // namespace

int main(int argc, char** argv) {
    // Fonts the system lacks go into a folder of our own, not into the user's.
    QTemporaryDir fontHome;
    qputenv("XDG_DATA_HOME", fontHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: zevadav-screenshots OUTDIR\n";
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "cannot create " << out.path() << '\n';
        return 1;
    }

    LinkState link(std::make_unique<NullPortBackend>(), PortTable::fromList({}));
    NullSearch search;
    TFMain main(link, search);
    bool ok = save(main, out.filePath(QStringLiteral("formmain-page1.png")));
    main.PageControl->setCurrentIndex(1);
    ok = save(main, out.filePath(QStringLiteral("formmain-page2.png"))) && ok;
    main.hide();

    TFOptions options(main.TimerInterval);
    ok = save(options, out.filePath(QStringLiteral("formoptions.png"))) && ok;
    return ok ? 0 : 1;
}
