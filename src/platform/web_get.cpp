#include "platform/web_get.h"

#include <QByteArray>

#include <cerrno>
#include <chrono>
#include <memory>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace lumbrix {
namespace {

using Clock = std::chrono::steady_clock;

struct Target {
  QByteArray host;
  QByteArray port;
  QByteArray path;
};

class Socket {
public:
  Socket() = default;
  explicit Socket(int fd) : fd_(fd) {}
  Socket(Socket &&other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Socket &operator=(Socket &&other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~Socket() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  int fd() const { return fd_; }
  bool is_open() const { return fd_ >= 0; }

private:
  int fd_ = -1;
};

// Host and path go into the request line and headers as they are: a blank or a control
// character would let the address write a request of its own.
bool is_plain_token(const QByteArray &text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) <= ' ' || c == '\x7f')
      return false;
  }
  return true;
}

bool split_address(const QString &address, Target &target) {
  QString rest = address;
  const QLatin1String scheme("http://");
  if (rest.startsWith(scheme, Qt::CaseInsensitive))
    rest.remove(0, scheme.size());
  const qsizetype slash = rest.indexOf(QLatin1Char('/'));
  const QString authority = slash < 0 ? rest : rest.left(slash);
  const QString path = slash < 0 ? QString() : rest.mid(slash + 1);
  const qsizetype colon = authority.lastIndexOf(QLatin1Char(':'));
  int port = 80;
  if (colon >= 0) {
    bool ok = false;
    port = authority.mid(colon + 1).toInt(&ok);
    if (!ok || port < 1 || port > 65535)
      return false;
  }
  target.host = (colon < 0 ? authority : authority.left(colon)).toLatin1();
  target.port = QByteArray::number(port);
  target.path = '/' + path.toLatin1();
  return !target.host.isEmpty() && is_plain_token(target.host) && is_plain_token(target.path);
}

int remaining_ms(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// True when fd reports one of events (or an error, which the next call on it returns) before
// the deadline.
bool wait_for(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd watched{fd, events, 0};
    const int ready = ::poll(&watched, 1, remaining_ms(deadline));
    if (ready > 0)
      return true;
    if (ready == 0 || errno != EINTR)
      return false;
  }
}

// A non-blocking connect, so an unreachable host costs no more than the waiting time.
bool connect_before(int fd, const addrinfo &address, Clock::time_point deadline) {
  if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0)
    return true;
  if (errno != EINPROGRESS && errno != EINTR)
    return false;
  if (!wait_for(fd, POLLOUT, deadline))
    return false;
  int error = 0;
  socklen_t length = sizeof error;
  return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

Socket connect_to(const Target &target, Clock::time_point deadline) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo *found = nullptr;
  if (::getaddrinfo(target.host.constData(), target.port.constData(), &hints, &found) != 0)
    return {};
  const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> list(found, ::freeaddrinfo);
  for (const addrinfo *address = found; address; address = address->ai_next) {
    Socket socket(::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                           address->ai_protocol));
    if (socket.is_open() && connect_before(socket.fd(), *address, deadline))
      return socket;
  }
  return {};
}

bool send_all(int fd, const QByteArray &bytes, Clock::time_point deadline) {
  qsizetype sent = 0;
  while (sent < bytes.size()) {
    // A server that has gone must not end the program with SIGPIPE.
    const ssize_t count = ::send(fd, bytes.constData() + sent,
                                 static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
    if (count > 0)
      sent += count;
    else if (count < 0 && errno == EINTR)
      continue;
    else if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) &&
             wait_for(fd, POLLOUT, deadline))
      continue;
    else
      return false;
  }
  return true;
}

// Pieces are appended until the server closes, the buffer is full, a read fails or the
// deadline passes: an answer split over several packets is read whole, up to the limit.
QByteArray receive(int fd, Clock::time_point deadline) {
  QByteArray buffer(web_get_answer_limit, '\0');
  qsizetype used = 0;
  while (used < buffer.size() && wait_for(fd, POLLIN, deadline)) {
    const ssize_t count =
        ::recv(fd, buffer.data() + used, static_cast<size_t>(buffer.size() - used), 0);
    if (count > 0)
      used += count;
    else if (count == 0 || (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK))
      break;
  }
  buffer.truncate(used);
  return buffer;
}

QByteArray request(const Target &target, const QByteArray &user_agent) {
  return "GET " + target.path + " HTTP/1.0\r\n" + "Host: " + target.host + "\r\n" +
         "Accept: */*\r\n" + "User-Agent: " + user_agent + "\r\n" + "Connection: close\r\n\r\n";
}

QString body_start(QByteArray answer) {
  const qsizetype zero = answer.indexOf('\0');
  if (zero >= 0)
    answer.truncate(zero);
  const QByteArray blank_line("\r\n\r\n");
  const qsizetype headers_end = answer.indexOf(blank_line);
  if (headers_end < 0)
    return {};
  QByteArray body = answer.mid(headers_end + blank_line.size());
  const qsizetype body_end = body.indexOf(blank_line);
  if (body_end >= 0)
    body.truncate(body_end);
  return QString::fromLatin1(body.trimmed()).left(3);
}

} // namespace

QString web_get(const QString &address, const QString &user_agent, int wait_ms) {
  Target target;
  const QByteArray agent = user_agent.toLatin1();
  if (!split_address(address, target) || agent.contains('\r') || agent.contains('\n'))
    return {};
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(wait_ms);
  const Socket socket = connect_to(target, deadline);
  if (!socket.is_open() || !send_all(socket.fd(), request(target, agent), deadline))
    return {};
  return body_start(receive(socket.fd(), deadline));
}

} // namespace lumbrix
