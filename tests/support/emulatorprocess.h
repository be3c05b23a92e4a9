#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

// The meter-emulator program on a pseudo-terminal, for end-to-end tests: started with the given options,
// its terminal path read from its first line of output, killed when this object goes.
class EmulatorProcess {
public:
    explicit EmulatorProcess(const QStringList& options = {});
    ~EmulatorProcess();
    EmulatorProcess(const EmulatorProcess&) = delete;
    EmulatorProcess& operator=(const EmulatorProcess&) = delete;

    bool ok() const { return !path_.isEmpty(); }
    QString path() const { return path_; }
    QString error() const { return error_; }
    // Stops the program and returns its transcript (when started with --transcript) and error output.
    QString stopAndReadTranscript();
    QString transcriptPath() const { return transcript_; }
    void kill();

    static QString program();

private:
    std::unique_ptr<QProcess> process_;
    QString path_, error_, transcript_;
};
