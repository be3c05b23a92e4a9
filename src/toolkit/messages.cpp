#include "messages.h"

namespace {
Messages::Handler& current() {
    static Messages::Handler handler;
    return handler;
}
} // namespace

void Messages::setHandler(Handler handler) {
    current() = std::move(handler);
}

QMessageBox::StandardButton Messages::show(QMessageBox::Icon icon, const QString& caption,
                                           const QString& text, QMessageBox::StandardButtons buttons) {
    if (current())
        return current()(icon, caption, text, buttons);
    QMessageBox box(icon, caption, text, buttons);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
