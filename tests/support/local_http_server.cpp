#include "support/local_http_server.h"

#include <arpa/inet.h>
#include <chrono>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lumbrix::test {

ListeningSocket::ListeningSocket() {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
      ::listen(fd_, 4) != 0 ||
      ::getsockname(fd_, reinterpret_cast<sockaddr *>(&address), &length) != 0)
    return;
  port_ = ntohs(address.sin_port);
}

ListeningSocket::~ListeningSocket() {
  if (fd_ >= 0)
    ::close(fd_);
}

QString ListeningSocket::address(const QString &path) const {
  return QStringLiteral("http://127.0.0.1:%1").arg(port_) + path;
}

LocalHttpServer::LocalHttpServer(std::vector<QByteArray> pieces)
    : pieces_(std::move(pieces)), thread_([this] { serve(); }) {}

LocalHttpServer::~LocalHttpServer() {
  // Wakes an accept that no client came for.
  ::shutdown(listener_.fd(), SHUT_RDWR);
  if (thread_.joinable())
    thread_.join();
}

QByteArray LocalHttpServer::request() {
  if (thread_.joinable())
    thread_.join();
  return request_;
}

void LocalHttpServer::serve() {
  const int client = ::accept(listener_.fd(), nullptr, nullptr);
  if (client < 0)
    return;
  char chunk[512];
  while (!request_.contains("\r\n\r\n")) {
    const ssize_t count = ::recv(client, chunk, sizeof chunk, 0);
    if (count <= 0)
      break;
    request_.append(chunk, count);
  }
  for (const QByteArray &piece : pieces_) {
    if (::send(client, piece.constData(), static_cast<size_t>(piece.size()), MSG_NOSIGNAL) < 0)
      break;
    // Until the client's side has acknowledged the piece (or has gone), then a moment for it to
    // read it.
    int unsent = 1;
    pollfd gone{client, 0, 0};
    while (::ioctl(client, SIOCOUTQ, &unsent) == 0 && unsent > 0 && ::poll(&gone, 1, 1) == 0) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::shutdown(client, SHUT_WR);
  ::close(client);
}

QByteArray http_answer(const QByteArray &body) {
  return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

int closed_port() {
  const ListeningSocket released;
  return released.port();
}

} // namespace lumbrix::test
