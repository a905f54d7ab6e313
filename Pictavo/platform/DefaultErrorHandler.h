#pragma once
// The application's default error handling: an error raised while a command or an event handler
// runs is shown as a message box with the product title, and the program goes on.

#include <QApplication>
#include <exception>
#include <functional>

// Shows the text of the error in flight (call from a catch block).
void ShowCurrentError();

// Runs `action`, reporting any error it raises. True when it finished without an error.
bool RunGuarded(const std::function<void()> &action);

// The program's application object: no error escapes an event handler into the event loop.
class TApplication final : public QApplication {
public:
    TApplication(int &argc, char **argv) : QApplication(argc, argv) {}
    bool notify(QObject *receiver, QEvent *event) override;
};
