#include "platform/instance_channel.h"

#include "platform/instance_lock.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace lumbrix {
namespace {

// A message is one line of UTF-8; a path is far shorter than this.
constexpr qint64 message_limit = 64 * 1024;

// Collects one connection's line and hands it over once complete.
void read_message(QLocalSocket *socket, const std::function<void(const QString &)> &receive) {
  auto buffer = std::make_shared<QByteArray>();
  QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer, receive] {
    buffer->append(socket->read(message_limit - buffer->size() + 1));
    const qsizetype end = buffer->indexOf('\n');
    if (end >= 0)
      receive(QString::fromUtf8(buffer->left(end)));
    if (end >= 0 || buffer->size() > message_limit)
      socket->disconnectFromServer();
  });
  QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
}

} // namespace

QString instance_channel_path(const QString &name) {
  return instance_folder() + name + QLatin1String(".socket");
}

InstanceChannel::InstanceChannel(const QString &name,
                                 std::function<void(const QString &text)> receive)
    : server_(std::make_unique<QLocalServer>()) {
  const QString path = instance_channel_path(name);
  QLocalServer::removeServer(path);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer *server = server_.get();
  QObject::connect(server, &QLocalServer::newConnection, server, [server, receive] {
    while (QLocalSocket *socket = server->nextPendingConnection())
      read_message(socket, receive);
  });
  server_->listen(path);
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::listening() const { return server_->isListening(); }

bool send_to_instance(const QString &name, const QString &text, int timeout_ms) {
  QLocalSocket socket;
  socket.connectToServer(instance_channel_path(name));
  if (!socket.waitForConnected(timeout_ms))
    return false;
  socket.write(text.toUtf8() + '\n');
  if (!socket.waitForBytesWritten(timeout_ms))
    return false;
  // The listener closes its end once it has the line, so the text is known to have arrived.
  return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(timeout_ms);
}

} // namespace lumbrix
