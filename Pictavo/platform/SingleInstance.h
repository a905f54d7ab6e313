#pragma once
// One running instance of the program per user. The first start listens on a local socket whose
// name holds the user's id (in the abstract socket namespace, so a crashed instance leaves nothing
// behind and a second listen fails instead of taking the name over); a later start connects,
// hands its messages over and ends.
//
// Outside programs reach the running instance the same way. Each message is a frame of
// big-endian fields: quint32 message number, qint64 wParam, qint64 lParam, quint32 data size,
// then the data bytes. Connections from other users are refused.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;

struct InstanceMessage {
    quint32 message = 0;
    qint64 wParam = 0;
    qint64 lParam = 0;
    QByteArray data;
};

class TInstanceChannel final : public QObject {
    Q_OBJECT
public:
    // "VexaLumivue-" followed by the user id.
    static QString DefaultName();

    explicit TInstanceChannel(QString name = DefaultName());
    ~TInstanceChannel() override;

    // True when this process is the running instance and now listens; false when another
    // instance runs (Forward then reaches it).
    bool Claim();

    // Delivers the messages to the running instance; false when none could be reached.
    bool Forward(const QList<InstanceMessage> &messages);

    // The copy-data message a second start sends: the UTF-16 text of `path`, "##" and a zero
    // character.
    static InstanceMessage CopyDataMessage(const QString &path);
    // The file path in copy-data: the text up to its zero character, before the first "##";
    // empty when there is no "##".
    static QString PathFromCopyData(const QByteArray &data);

signals:
    void messageReceived(const InstanceMessage &message);

private:
    void acceptConnections();
    void readFrames(QLocalSocket *socket);

    QString m_name;
    std::unique_ptr<QLocalServer> m_server;
};
