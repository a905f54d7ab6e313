#pragma once
// The program's private window messages, carried as Qt events whose type number is the message
// number. Posting queues the event for the receiver's thread; sending delivers it at once.

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QString>

namespace WindowMessage {
constexpr int CopyData = 0x4A;          // from a second instance; delivered by the instance channel
constexpr int MusicNotify = 0x464;      // a notification of the music dialog's mixing component
constexpr int PhotoEdited = 0x5F4;      // from the photo editor program
constexpr int UICommand = 0x1770;       // one request of the editor UI, posted by its call event
constexpr int UIContextMenu = 0x1777;   // a right click on the editor UI
constexpr int Repaint = 0x1779;
constexpr int TemplateChanged = 0x177A; // lParam 1: the UI must also reload the template
constexpr int PreviewReady = 0x177B;
constexpr int Restore = 0x177C;
} // namespace WindowMessage

class TMessageEvent : public QEvent {
public:
    TMessageEvent(int message, qint64 wParam = 0, qint64 lParam = 0, QString text = {})
        : QEvent(QEvent::Type(message)), m_wParam(wParam), m_lParam(lParam), m_text(std::move(text))
    {
    }

    int message() const { return int(type()); }
    qint64 wParam() const { return m_wParam; }
    qint64 lParam() const { return m_lParam; }
    // The text a message carries (the request of a UI command); owned by the event.
    const QString &text() const { return m_text; }

private:
    qint64 m_wParam;
    qint64 m_lParam;
    QString m_text;
};

inline void PostWindowMessage(QObject *receiver, int message, qint64 wParam = 0, qint64 lParam = 0,
                              QString text = {})
{
    QCoreApplication::postEvent(receiver,
                                new TMessageEvent(message, wParam, lParam, std::move(text)));
}

inline void SendWindowMessage(QObject *receiver, int message, qint64 wParam = 0, qint64 lParam = 0)
{
    TMessageEvent event(message, wParam, lParam);
    QCoreApplication::sendEvent(receiver, &event);
}
