#pragma once
#include <QMessageBox>
#include <functional>

// Every message box of the program goes through here, so that a test can answer it instead of a person.
namespace Messages {
using Handler = std::function<QMessageBox::StandardButton(QMessageBox::Icon, const QString& caption,
                                                          const QString& text, QMessageBox::StandardButtons)>;
// An empty handler (the default) shows real message boxes.
void setHandler(Handler handler);
QMessageBox::StandardButton show(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok);
} // namespace Messages
