#include "exportprogress.h"
#include <QElapsedTimer>
#include <QProgressDialog>

namespace {
// Clock reads and repaints are spread out: a large export takes a million steps.
constexpr qint64 StepsBetweenChecks = 256;
constexpr qint64 MsBetweenRepaints = 100;
// The dialog's range is an int; totals beyond it are scaled down.
int scaled(qint64 value, qint64 total) {
    return total <= 1'000'000 ? static_cast<int>(value) : static_cast<int>(value * 1'000'000 / total);
}
} // namespace

DialogProgress::DialogProgress(QWidget* parent, Clock clock) : parent_(parent), clock_(std::move(clock)) {
    if (!clock_) {
        auto timer = std::make_shared<QElapsedTimer>();
        timer->start();
        clock_ = [timer] { return timer->elapsed(); };
    }
}

DialogProgress::~DialogProgress() = default;

void DialogProgress::Begin(qint64 total) {
    total_ = total;
    started_ = clock_();
    checkedAt_ = 0;
    dialog_.reset();
}

void DialogProgress::Advance(qint64 done) {
    if (done - checkedAt_ < StepsBetweenChecks && done < total_)
        return;
    checkedAt_ = done;
    const qint64 now = clock_();
    if (!dialog_) {
        if (now - started_ <= ShowAfterMs)
            return;
        dialog_ = std::make_unique<QProgressDialog>(Label, QString(), 0, scaled(total_, total_), parent_);
        dialog_->setWindowModality(Qt::ApplicationModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
        paintedAt_ = now - MsBetweenRepaints;
    }
    if (now - paintedAt_ >= MsBetweenRepaints || done >= total_) {
        paintedAt_ = now;
        dialog_->setValue(scaled(done, total_)); // a modal dialog lets the window system paint here
    }
}

void DialogProgress::End() {
    dialog_.reset();
}
