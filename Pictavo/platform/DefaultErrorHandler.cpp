#include "DefaultErrorHandler.h"

#include "AppError.h"
#include "Prompts.h"

#include <QApplication>

void ShowCurrentError()
{
    QString text;
    try {
        throw;
    } catch (const AppError &error) {
        text = error.message();
    } catch (const std::exception &error) {
        text = QString::fromLocal8Bit(error.what());
    } catch (...) {
        text = QStringLiteral("An unexpected error occurred.");
    }
    ShowMessage(QApplication::activeWindow(), text);
}

bool RunGuarded(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (...) {
        ShowCurrentError();
        return false;
    }
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
