#pragma once
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

// How far the export has come, in steps (one a cell).
class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    virtual void Begin(qint64 total) = 0;
    // Called at every step: it has to be cheap.
    virtual void Advance(qint64 done) = 0;
    virtual void End() = 0;
};

// A progress window that appears only when the export has already taken more than a second; short
// exports show nothing. It has no cancel button: the protocol is written to its end.
class DialogProgress final : public ExportProgress {
public:
    inline static const QString Label = QStringLiteral("Передача данных в Excel...");
    static constexpr qint64 ShowAfterMs = 1000;
    // Milliseconds from any fixed start; a steady clock unless a test gives its own.
    using Clock = std::function<qint64()>;

    explicit DialogProgress(QWidget* parent = nullptr, Clock clock = {});
    ~DialogProgress() override;

    void Begin(qint64 total) override;
    void Advance(qint64 done) override;
    void End() override;

    // The window while it is shown, else null.
    QProgressDialog* Dialog() const { return dialog_.get(); }

private:
    QWidget* parent_;
    Clock clock_;
    qint64 started_ = 0;
    qint64 total_ = 0;
    qint64 checkedAt_ = 0;
    qint64 paintedAt_ = 0;
    std::unique_ptr<QProgressDialog> dialog_;
};
