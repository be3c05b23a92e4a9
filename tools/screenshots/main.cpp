// Draws the program's windows into PNG files without a meter and without a display:
//   QT_QPA_PLATFORM=offscreen zevadav-screenshots OUTDIR
#include "about/formhelp.h"
#include "about/formlogo.h"
#include "link/nullport.h"
#include "link/searchcontrol.h"
#include "link/unitcomport.h"
#include "monitor/formmain.h"
#include "monitor/livetablemodel.h"
#include "settings/formoptions.h"
#include "stats/formstat.h"
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
    options.hide();

    // The statistics over a few readings, so that the bars and their marks show.
    for (int i = 0; i < 20; ++i) {
        Reading r;
        r.secondOfDay = 9 * 3600 + i * 3;
        r.tenths.fill(0);
        r.tenths[Reading::Tv] = 180 + 7 * i;
        r.tenths[Reading::RH] = 350 + 11 * i;
        r.tenths[Reading::Tsh] = 200 + 9 * i;
        main.GridD->append(r);
    }
    TFStat stat(&main.GridD->store());
    ok = save(stat, out.filePath(QStringLiteral("formstat.png"))) && ok;
    stat.hide();
    TFLogo logo;
    ok = save(logo, out.filePath(QStringLiteral("formlogo.png"))) && ok;
    logo.hide();
    TFHelp help;
    ok = save(help, out.filePath(QStringLiteral("formhelp.png"))) && ok;
    return ok ? 0 : 1;
}
