#include "about/formhelp.h"
#include "about/formlogo.h"
#include "application.h"
#include "export/uxls.h"
#include "link/serialportbackend.h"
#include "link/unitcomport.h"
#include "monitor/formmain.h"
#include "monitor/livetablemodel.h"
#include "rcpthread.h"
#include "settings/formoptions.h"
#include "stats/formstat.h"
#include <exception>

int main(int argc, char** argv) {
    ZevadavApplication app(argc, argv);
    try {
        LinkState link(std::make_unique<SerialPortBackend>(), PortTable::fromEnvironment());
        MyThread search(link); // created, not yet running: the main window starts it

        // The main window first: its creation starts the search, before the other windows exist.
        TFMain FMain(link, search);
        TFStat FStat(&FMain.GridD->store());
        TFOptions FOptions(FMain.TimerInterval);
        FMain.SetOptionsWindow(&FOptions);
        TFLogo FLogo;
        TFHelp FHelp;
        FMain.SetSecondaryWindows(&FStat, &FLogo, &FHelp);
        XlsProtocolExport exporter;
        FMain.SetProtocolExport(&exporter);
        FMain.show();
        const int rc = app.exec();
        search.Shutdown();
        return rc;
    } catch (const std::exception& e) {
        ZevadavApplication::showException(QString::fromUtf8(e.what()));
    } catch (...) {
        ZevadavApplication::showException(QString());
    }
    return 0;
}
