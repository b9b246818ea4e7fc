#include "cli/progress_line.h"

#include "engine/png/png_loader.h"
#include "platform/console.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

namespace lumbrix {
namespace {

// A picture this large takes long enough for its own percentage to be worth showing.
constexpr double large_megapixels = 10.0;

const QString separator = QStringLiteral("  |  ");
const QString ellipsis = QStringLiteral("...");

// A file name may hold anything a file system allows; the terminal must not take it as control.
QString printable(QString text) {
  for (QChar &c : text) {
    const char16_t u = c.unicode();
    if (u < 0x20 || (u >= 0x7F && u < 0xA0))
      c = QLatin1Char('?');
  }
  return text;
}

QString duration(double seconds) {
  const auto whole = static_cast<qint64>(std::ceil(seconds));
  const QString ss = QStringLiteral("%1").arg(whole % 60, 2, 10, QLatin1Char('0'));
  if (whole < 3600)
    return QString::number(whole / 60) + QLatin1Char(':') + ss;
  const QString mm = QStringLiteral("%1").arg(whole / 60 % 60, 2, 10, QLatin1Char('0'));
  return QString::number(whole / 3600) + QLatin1Char(':') + mm + QLatin1Char(':') + ss;
}

// The name shortened in its middle to at most room characters.
QString shortened(const QString &name, qsizetype room) {
  if (name.size() <= room)
    return name;
  if (room <= ellipsis.size())
    return QString();
  const qsizetype kept = room - ellipsis.size();
  return name.left(kept - kept / 2) + ellipsis + name.right(kept / 2);
}

QString current_part(const ProgressFigures &figures, qsizetype room) {
  const QString percent =
      figures.current_percent < 0
          ? QString()
          : QLatin1Char(' ') + QString::number(figures.current_percent) + QLatin1Char('%');
  const QString name = printable(QFileInfo(figures.current_file).fileName());
  const QString fitted = shortened(name, std::max<qsizetype>(0, room - percent.size()));
  return fitted.isEmpty() ? QString() : fitted + percent;
}

} // namespace

ProgressMode progress_mode(const QString &word) {
  const QString lower = word.toLower();
  if (lower == QLatin1String("never"))
    return ProgressMode::Never;
  if (lower == QLatin1String("always"))
    return ProgressMode::Always;
  return ProgressMode::Auto;
}

bool progress_line_wanted(ProgressMode mode, bool quiet) {
  if (quiet || mode == ProgressMode::Never)
    return false;
  return mode == ProgressMode::Always || console_status_on_terminal();
}

QString progress_text(const ProgressFigures &figures, int columns) {
  QString before = QString::number(figures.files_done) + QLatin1Char('/') +
                   QString::number(figures.files_total) + QStringLiteral(" files");
  QString after;
  if (figures.megapixels_per_second > 0)
    after += separator + QString::number(figures.megapixels_per_second, 'f', 1) +
             QStringLiteral(" Mpx/s");
  if (figures.seconds_left >= 0)
    after += separator + duration(figures.seconds_left) + QStringLiteral(" left");
  // The terminal's last column would wrap the line, which could then not be drawn over.
  const qsizetype width = columns > 0 ? columns - 1 : std::numeric_limits<qsizetype>::max();
  QString text = before;
  if (!figures.current_file.isEmpty()) {
    const qsizetype room = width - before.size() - after.size() - separator.size();
    const QString current = current_part(figures, room);
    if (!current.isEmpty())
      text += separator + current;
  }
  return (text + after).left(width);
}

ProgressLine::ProgressLine(const std::vector<InputFile> &files) : files_(files) {}

void ProgressLine::draw(ProgressRecord &record) {
  console_status(progress_text(figures(record), console_status_columns()));
}

void ProgressLine::clear() { console_status_clear(); }

void ProgressLine::read_sizes(int files_started) {
  const auto seen = std::min<std::size_t>(static_cast<std::size_t>(files_started), files_.size());
  while (megapixels_.size() < seen) {
    PngSize size;
    const bool known = read_png_size(files_[megapixels_.size()].path, size);
    megapixels_.push_back(known ? double(size.width) * double(size.height) / 1e6 : 0.0);
    megapixels_started_ += megapixels_.back();
  }
}

ProgressFigures ProgressLine::figures(ProgressRecord &record) {
  const ProgressView view = read_progress(record);
  const int started = view.files_started;
  ProgressFigures figures;
  figures.files_done = view.files_done;
  figures.current_file = view.current_file;
  read_sizes(started);
  figures.files_total = static_cast<int>(files_.size());
  if (figures.files_done >= started)
    figures.current_file.clear();
  else if (megapixels_[static_cast<std::size_t>(started) - 1] >= large_megapixels)
    figures.current_percent = view.current_permille / 10;
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start_;
  const double files_worth = static_cast<double>(view.permille_done) / 1000.0;
  if (started > 0 && files_worth > 0 && elapsed.count() > 0) {
    figures.megapixels_per_second = megapixels_started_ / started * files_worth / elapsed.count();
    figures.seconds_left = elapsed.count() * (figures.files_total - files_worth) / files_worth;
  }
  return figures;
}

} // namespace lumbrix
