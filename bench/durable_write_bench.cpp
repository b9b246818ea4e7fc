// What putting a file in place durably costs: the same bytes written and renamed over an earlier
// file of that name, once the old way (created by name, written, renamed) and once through
// TempFile (unnamed until placed, data synced before the rename, folder synced after). Prints
// the median seconds of each, one line per size, as "bytes old synced".
// Usage: durable_write_bench folder rounds bytes...

#include "platform/temp_file.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

bool write_whole(int fd, const QByteArray &bytes) {
  qint64 done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
    if (n <= 0)
      return false;
    done += n;
  }
  return true;
}

double old_way(const QString &folder, const QByteArray &bytes) {
  const QByteArray temporary = (folder + "/bench.tmp").toLocal8Bit();
  const QByteArray final_name = (folder + "/bench.out").toLocal8Bit();
  const auto start = Clock::now();
  const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 || !write_whole(fd, bytes) || ::close(fd) != 0 ||
      ::rename(temporary.constData(), final_name.constData()) != 0)
    std::exit(1);
  return seconds_since(start);
}

double synced_way(const QString &folder, const QByteArray &bytes) {
  const auto start = Clock::now();
  lumbrix::TempFile file = lumbrix::TempFile::create(folder, "bench", "tmp");
  if (!file.write(bytes.constData(), bytes.size()) || !file.commit("bench.out"))
    std::exit(1);
  return seconds_since(start);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 4)
    return 2;
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const int rounds = std::atoi(argv[2]);
  for (int i = 3; i < argc; ++i) {
    const QByteArray bytes(std::atoll(argv[i]), 'x');
    std::vector<double> old_times, synced_times;
    for (int round = 0; round < rounds; ++round) {
      // Alternating, so a change in the machine's load touches both alike.
      old_times.push_back(old_way(folder, bytes));
      synced_times.push_back(synced_way(folder, bytes));
    }
    std::printf("%lld %.4f %.4f\n", static_cast<long long>(bytes.size()), median(old_times),
                median(synced_times));
  }
  ::unlink((folder + "/bench.out").toLocal8Bit().constData());
  return 0;
}
