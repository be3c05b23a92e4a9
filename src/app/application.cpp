#include "application.h"
#include <QMessageBox>
#include <exception>

ZevadavApplication::ZevadavApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // The application name, not the display name: Qt appends a display name to every window title.
    setApplicationName(Title);
}

bool ZevadavApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        showException(QString::fromUtf8(e.what()));
    } catch (...) {
        showException(QString());
    }
    return false;
}

void ZevadavApplication::showException(const QString& message) {
    QMessageBox::critical(nullptr, Title, message);
}
