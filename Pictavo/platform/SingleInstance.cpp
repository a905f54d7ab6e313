#include "SingleInstance.h"

#include "WindowMessages.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr qsizetype HeaderSize = 4 + 8 + 8 + 4;
constexpr quint32 MaxDataSize = 1 << 20;
constexpr int ConnectTimeoutMs = 2000;

bool fromSameUser(const QLocalSocket *socket)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == getuid();
}

QByteArray frame(const InstanceMessage &message)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << message.message << message.wParam << message.lParam << quint32(message.data.size());
    bytes += message.data;
    return bytes;
}

} // namespace

QString TInstanceChannel::DefaultName()
{
    return QStringLiteral("VexaLumivue-%1").arg(getuid());
}

TInstanceChannel::TInstanceChannel(QString name) : m_name(std::move(name)) {}

TInstanceChannel::~TInstanceChannel() = default;

bool TInstanceChannel::Claim()
{
    // Either listen() wins the name or a running instance answers; an instance that is just
    // ending may do neither for a moment, hence the few retries.
    for (int attempt = 0; attempt < 20; ++attempt) {
        auto server = std::make_unique<QLocalServer>();
        server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
        if (server->listen(m_name)) {
            m_server = std::move(server);
            connect(m_server.get(), &QLocalServer::newConnection, this,
                    &TInstanceChannel::acceptConnections);
            return true;
        }
        QLocalSocket probe;
        probe.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
        probe.connectToServer(m_name);
        if (probe.waitForConnected(ConnectTimeoutMs))
            return false;
        QThread::msleep(50);
    }
    std::fprintf(stderr, "single instance: cannot claim %s; running without it\n",
                 qPrintable(m_name));
    return true;
}

bool TInstanceChannel::Forward(const QList<InstanceMessage> &messages)
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    for (const InstanceMessage &message : messages)
        socket.write(frame(message));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(ConnectTimeoutMs))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}

void TInstanceChannel::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!fromSameUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrames(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readFrames(socket);
            socket->deleteLater();
        });
        readFrames(socket);
    }
}

void TInstanceChannel::readFrames(QLocalSocket *socket)
{
    while (socket->bytesAvailable() >= HeaderSize) {
        InstanceMessage message;
        quint32 size = 0;
        QDataStream header(socket->peek(HeaderSize));
        header >> message.message >> message.wParam >> message.lParam >> size;
        if (size > MaxDataSize) {
            socket->abort();
            return;
        }
        if (socket->bytesAvailable() < HeaderSize + qint64(size))
            return;
        socket->skip(HeaderSize);
        message.data = socket->read(size);
        emit messageReceived(message);
    }
}

InstanceMessage TInstanceChannel::CopyDataMessage(const QString &path)
{
    const QString text = path + QStringLiteral("##") + QChar(0);
    InstanceMessage message;
    message.message = WindowMessage::CopyData;
    message.data = QByteArray(reinterpret_cast<const char *>(text.utf16()),
                              text.size() * qsizetype(sizeof(char16_t)));
    return message;
}

QString TInstanceChannel::PathFromCopyData(const QByteArray &data)
{
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(data.constData()),
                                      data.size() / qsizetype(sizeof(char16_t)));
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);
    const qsizetype marks = text.indexOf(QStringLiteral("##"));
    return marks < 0 ? QString() : text.left(marks);
}
