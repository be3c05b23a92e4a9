// Export of a long live run to the spreadsheet file: the automation calls of every cell, then the .xlsx
// written by the file backend, with the progress window as the user gets it.
//   QT_QPA_PLATFORM=offscreen bench_export [readings [folder to keep the file in]]
#include "export/exportprogress.h"
#include "export/uxls.h"
#include "export/xlsxautomation.h"
#include "monitor/formmain.h"
#include "monitor/quantities.h"
#include "monitor/readingstore.h"
#include "toolkit/messages.h"
#include "toolkit/stringgridmodel.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>
#include <cstdio>
#include <cstdlib>

namespace {
// The dialog progress, noting when the last cell went out and whether the window appeared.
class TimedProgress final : public ExportProgress {
public:
    explicit TimedProgress(const QElapsedTimer& clock) : clock_(clock) {}
    void Begin(qint64 total) override {
        total_ = total;
        window_.Begin(total);
    }
    void Advance(qint64 done) override {
        window_.Advance(done);
        if (done == total_) {
            cellsDoneMs = clock_.elapsed();
            shown = window_.Dialog() != nullptr;
        }
    }
    void End() override { window_.End(); }

    qint64 cellsDoneMs = -1;
    bool shown = false;

private:
    const QElapsedTimer& clock_;
    DialogProgress window_;
    qint64 total_ = 0;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Messages::setHandler(
        [](QMessageBox::Icon, const QString& caption, const QString& text, QMessageBox::StandardButtons) {
            std::fprintf(stderr, "message box %s: %s\n", qPrintable(caption), qPrintable(text));
            std::exit(1);
            return QMessageBox::Ok;
        });

    ReadingStore live;
    for (int i = 0; i < count; ++i) {
        const float rh =
            i % 97 == 0 ? 0.0f : 20.0f + static_cast<float>(i % 600) * 0.1f; // some without dew point
        const LiveQuantities q = ComputeLive(
            {rh, -10.0f + static_cast<float>(i % 400) * 0.1f, 5.0f + static_cast<float>(i % 700) * 0.1f});
        live.append(TFMain::MakeReading(q, QTime::fromMSecsSinceStartOfDay((i * 3 % 86400) * 1000)));
    }

    QTemporaryDir dir;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath("Протоколы");
    QElapsedTimer clock;
    qint64 openedMs = -1;
    QString opened;
    XlsxAutomation excel(folder, [&](const QString& path) {
        openedMs = clock.elapsed();
        opened = path;
        return true; // nothing is started
    });
    TimedProgress progress(clock);
    AutoRef xlsApp, xlsSheet;
    const StringGridModel logger(10, 1);
    clock.start();
    XlsExport(excel, xlsApp, xlsSheet, &progress).Run(0, live, logger);
    const qint64 totalMs = clock.elapsed();

    if (opened.isEmpty()) {
        std::fprintf(stderr, "no file was written\n");
        return 1;
    }
    std::printf("readings:                 %d (%lld cells)\n", count, 10LL * count + 11);
    std::printf("automation calls:         %lld ms\n", progress.cellsDoneMs);
    std::printf("file written:             %lld ms (%lld bytes)\n", openedMs - progress.cellsDoneMs,
                static_cast<long long>(QFileInfo(opened).size()));
    std::printf("whole export:             %lld ms (target at most 15000 ms)\n", totalMs);
    std::printf("progress window shown:    %s\n", progress.shown ? "yes" : "no");
    if (argc > 2)
        std::printf("file:                     %s\n", qPrintable(opened));
    return totalMs <= 15000 ? 0 : 2;
}
