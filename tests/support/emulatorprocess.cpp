#include "emulatorprocess.h"
#include <QDir>
#include <QFile>
#include <QUuid>

QString EmulatorProcess::program() {
    return QStringLiteral(METER_EMULATOR_PATH);
}

EmulatorProcess::EmulatorProcess(const QStringList& options) : process_(std::make_unique<QProcess>()) {
    transcript_ = QDir::tempPath() + QStringLiteral("/zevadav-transcript-") +
                  QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".txt");
    QStringList args = options;
    args << QStringLiteral("--transcript") << transcript_;
    process_->start(program(), args);
    if (!process_->waitForStarted(5000)) {
        error_ = process_->errorString();
        return;
    }
    while (!process_->canReadLine() && process_->state() == QProcess::Running)
        process_->waitForReadyRead(5000);
    if (!process_->canReadLine()) {
        error_ = QString::fromLocal8Bit(process_->readAllStandardError());
        return;
    }
    path_ = QString::fromLocal8Bit(process_->readLine()).trimmed();
}

void EmulatorProcess::kill() {
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(3000)) {
            process_->kill();
            process_->waitForFinished(3000);
        }
    }
}

QString EmulatorProcess::stopAndReadTranscript() {
    kill();
    QFile file(transcript_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

EmulatorProcess::~EmulatorProcess() {
    kill();
    QFile::remove(transcript_);
}
