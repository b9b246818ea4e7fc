#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QLocalServer;

namespace lumbrix {

// The running window front's message channel: a local socket beside its instance lock, open to
// the same user only. A later start that finds the lock taken sends one message through it (the
// files to add, maybe none) and ends.
class InstanceChannel {
public:
  // Listens under name and hands every message received to `receive`, on the thread of the event
  // loop. Only the lock holder listens, so a socket left by a process that died is replaced.
  InstanceChannel(const QString &name, std::function<void(const QStringList &texts)> receive);
  ~InstanceChannel();
  InstanceChannel(const InstanceChannel &) = delete;
  InstanceChannel &operator=(const InstanceChannel &) = delete;

  bool listening() const;

private:
  std::unique_ptr<QLocalServer> server_;
};

// Sends texts to the window front listening under name, as one message. False when no listener
// could be reached within timeout_ms (it may still be starting: connecting is tried again until
// then) or the message could not be written; true once it is written, after waiting up to
// timeout_ms for the listener to say it has read it.
bool send_to_instance(const QString &name, const QStringList &texts, int timeout_ms = 3000);

// Where the channel of a name is: beside the instance lock of that name. Empty when the lock has
// no place either.
QString instance_channel_path(const QString &name);

// The bytes of one message: its length, then each text as its length and its UTF-8 bytes, every
// length four bytes, most significant first, so that any text survives whatever it holds.
QByteArray frame_message(const QStringList &texts);

// Takes one whole message from the front of buffer into texts. False while the message is still
// incomplete; true, with *broken set, when the bytes cannot be a message.
bool take_message(QByteArray &buffer, QStringList &texts, bool *broken);

} // namespace lumbrix
