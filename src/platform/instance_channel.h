#pragma once

#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace lumbrix {

// The running window front's message channel: a local socket beside its instance lock, open to
// the same user only. A later start that finds the lock taken sends one text through it (a file
// to open, or nothing) and ends.
class InstanceChannel {
public:
  // Listens under name and hands every text received to `receive`, on the thread of the event
  // loop. Only the lock holder listens, so a socket left by a process that died is replaced.
  InstanceChannel(const QString &name, std::function<void(const QString &text)> receive);
  ~InstanceChannel();
  InstanceChannel(const InstanceChannel &) = delete;
  InstanceChannel &operator=(const InstanceChannel &) = delete;

  bool listening() const;

private:
  std::unique_ptr<QLocalServer> server_;
};

// Sends text to the window front listening under name; false when none takes it in time.
bool send_to_instance(const QString &name, const QString &text, int timeout_ms = 3000);

// Where the channel of a name is: beside the instance lock of that name.
QString instance_channel_path(const QString &name);

} // namespace lumbrix
