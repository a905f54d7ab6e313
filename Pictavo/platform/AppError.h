#pragma once
// The one exception type of the program: a message text for the user. Commands raise it; the
// command dispatcher's default handler shows the text in a message box and the program goes on.

#include <QString>
#include <stdexcept>

class AppError : public std::runtime_error {
public:
    explicit AppError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}

    const QString &message() const noexcept { return m_message; }

private:
    QString m_message;
};
