#include "platform/instance_channel.h"

#include "platform/instance_lock.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QtEndian>

namespace lumbrix {
namespace {

constexpr qsizetype length_size = 4;
// Thousands of paths fit; anything larger is not one of ours.
constexpr qsizetype message_limit = 16 * 1024 * 1024;
constexpr int connect_retry_ms = 50;

void append_length(QByteArray &bytes, qsizetype length) {
  char field[length_size];
  qToBigEndian(quint32(length), field);
  bytes.append(field, length_size);
}

qsizetype length_at(const QByteArray &bytes, qsizetype at) {
  return qsizetype(qFromBigEndian<quint32>(bytes.constData() + at));
}

// The texts of a message's body; false when its lengths do not add up to it.
bool split_body(const QByteArray &body, QStringList &texts) {
  texts.clear();
  for (qsizetype at = 0; at < body.size();) {
    if (body.size() - at < length_size)
      return false;
    const qsizetype length = length_at(body, at);
    at += length_size;
    if (length > body.size() - at)
      return false;
    texts << QString::fromUtf8(body.constData() + at, length);
    at += length;
  }
  return true;
}

// Collects one connection's message and hands it over once complete.
void read_message(QLocalSocket *socket, const std::function<void(const QStringList &)> &receive) {
  auto buffer = std::make_shared<QByteArray>();
  QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer, receive] {
    buffer->append(socket->readAll());
    QStringList texts;
    bool broken = false;
    const bool complete = take_message(*buffer, texts, &broken);
    if (complete && !broken)
      receive(texts);
    if (complete)
      socket->disconnectFromServer();
  });
  QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
}

// Connects to path, trying again until the deadline: the lock holder may not listen yet.
bool connect_before(QLocalSocket &socket, const QString &path, const QDeadlineTimer &deadline) {
  for (;;) {
    socket.connectToServer(path);
    if (socket.waitForConnected(int(deadline.remainingTime())))
      return true;
    if (deadline.hasExpired())
      return false;
    QThread::msleep(connect_retry_ms);
  }
}

} // namespace

QByteArray frame_message(const QStringList &texts) {
  QByteArray body;
  for (const QString &text : texts) {
    const QByteArray bytes = text.toUtf8();
    append_length(body, bytes.size());
    body += bytes;
  }
  QByteArray message;
  append_length(message, body.size());
  return message + body;
}

bool take_message(QByteArray &buffer, QStringList &texts, bool *broken) {
  *broken = false;
  if (buffer.size() < length_size)
    return false;
  const qsizetype length = length_at(buffer, 0);
  if (length > message_limit) {
    *broken = true;
    return true;
  }
  if (buffer.size() - length_size < length)
    return false;
  *broken = !split_body(buffer.mid(length_size, length), texts);
  buffer.remove(0, length_size + length);
  return true;
}

QString instance_channel_path(const QString &name) {
  return instance_file(name, QStringLiteral(".socket"));
}

InstanceChannel::InstanceChannel(const QString &name,
                                 std::function<void(const QStringList &texts)> receive)
    : server_(std::make_unique<QLocalServer>()) {
  const QString path = instance_channel_path(name);
  if (path.isEmpty())
    return;
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

bool send_to_instance(const QString &name, const QStringList &texts, int timeout_ms) {
  const QString path = instance_channel_path(name);
  const QDeadlineTimer deadline(timeout_ms);
  QLocalSocket socket;
  if (path.isEmpty() || !connect_before(socket, path, deadline))
    return false;
  socket.write(frame_message(texts));
  if (!socket.waitForBytesWritten(timeout_ms))
    return false;
  // The listener closes its end once it has the message. A listener too busy to say so in time
  // still finds the message waiting for it.
  if (socket.state() != QLocalSocket::UnconnectedState)
    socket.waitForDisconnected(timeout_ms);
  return true;
}

} // namespace lumbrix
