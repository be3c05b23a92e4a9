#pragma once
#include <QApplication>

// The application object. An exception that leaves an event handler is shown in a message box and the
// program goes on, instead of ending the run and losing what the windows hold.
class ZevadavApplication final : public QApplication {
public:
    inline static const QString Title = QStringLiteral("ЗЕЛТ Zevadav");
    ZevadavApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
    static void showException(const QString& message);
};
