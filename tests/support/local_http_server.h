#pragma once

#include <QByteArray>
#include <QString>

#include <thread>
#include <vector>

namespace lumbrix::test {

// A TCP socket listening on 127.0.0.1 at a port the system picks. Connections wait in its
// backlog until someone accepts them, so on its own it is a server that never answers.
class ListeningSocket {
public:
  ListeningSocket();
  ~ListeningSocket();
  ListeningSocket(const ListeningSocket &) = delete;
  ListeningSocket &operator=(const ListeningSocket &) = delete;

  int fd() const { return fd_; }
  int port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by path.
  QString address(const QString &path = QStringLiteral("/files/Lumbrix.dat")) const;

private:
  int fd_ = -1;
  int port_ = 0;
};

// Serves one connection on a thread of its own: reads the request up to its empty line, sends
// the pieces one by one and closes. Between pieces it waits until the client has taken the
// previous one, so each tends to arrive as a read of its own.
class LocalHttpServer {
public:
  explicit LocalHttpServer(std::vector<QByteArray> pieces);
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer &) = delete;
  LocalHttpServer &operator=(const LocalHttpServer &) = delete;

  QString address(const QString &path = QStringLiteral("/files/Lumbrix.dat")) const {
    return listener_.address(path);
  }
  // The bytes of the request, once the connection has been served.
  QByteArray request();

private:
  void serve();

  ListeningSocket listener_;
  std::vector<QByteArray> pieces_;
  QByteArray request_;
  std::thread thread_;
};

// An answer with a status line, one header and body.
QByteArray http_answer(const QByteArray &body);

// A port on 127.0.0.1 that nothing listens on: connecting to it is refused.
int closed_port();

} // namespace lumbrix::test
