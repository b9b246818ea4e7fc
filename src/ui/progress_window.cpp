#include "ui/progress_window.h"

#include "prefs/message_boxes.h"
#include "text/lang.h"
#include "ui/main_window.h"
#include "ui/window_flags.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <mutex>

namespace lumbrix {
namespace {

constexpr int inner_width = 300;
constexpr int inner_height = 110;
constexpr int text_width = inner_width - 20;
constexpr int details_height = 90;
constexpr int poll_interval_ms = 15;
// Bar units per file: each file's share moves with its own progress.
constexpr int file_units = 1000;

QString msg(const char *key) { return lang(QStringLiteral("Msg"), QString::fromLatin1(key)); }

} // namespace

ProgressWindow::ProgressWindow(QWidget *owner) : QDialog(owner) {
  setWindowFlags(small_window_flags);
  setWindowTitle(lang(QStringLiteral("Dialog"), QStringLiteral("Convert Progress")));
  setFixedSize(inner_width, inner_height);
  setWindowModality(Qt::ApplicationModal);
  text_ = new QLabel(this);
  text_->setGeometry(10, 13, text_width, 20);
  bar_ = new QProgressBar(this);
  bar_->setGeometry(10, 40, text_width, 20);
  bar_->setTextVisible(false);
  details_ = new QPlainTextEdit(this);
  details_->setGeometry(10, 70, text_width, details_height);
  details_->setReadOnly(true);
  details_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  details_->hide();
  ok_ = new QPushButton(lang(QStringLiteral("Dialog"), QStringLiteral("OK")), this);
  ok_->setGeometry(110, 75, 80, 25);
  ok_->setDefault(true);
  ok_->setEnabled(false);
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (worker_known_ended_ && loop_)
      loop_->quit();
  });
  // Paths are shortened by a measured average width instead of measuring each path.
  const int measured = QFontMetrics(font()).horizontalAdvance(QStringLiteral("abc123:\\-")) / 9;
  if (measured > 0)
    char_width_ = measured;
  max_chars_ = text_width / char_width_;
}

ProgressWindow::~ProgressWindow() {
  if (worker_.joinable())
    worker_.join();
}

RunResult ProgressWindow::run(const ConversionRequest &request) {
  request_ = &request;
  total_ = static_cast<int>(request.files.size());
  bar_->setRange(0, std::max(total_, 1) * file_units);
  bar_->setValue(0);
  show();
  activateWindow();
  worker_done_ = false;
  worker_ = std::thread([this, &request] {
    result_ = run_conversion(request, progress_);
    worker_done_ = true;
  });
  QEventLoop loop;
  loop_ = &loop;
  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, &ProgressWindow::poll);
  timer_->start(poll_interval_ms);
  loop.exec();
  timer_->stop();
  loop_ = nullptr;
  if (worker_.joinable())
    worker_.join();
  hide();
  return result_;
}

QString ProgressWindow::count_text(int started) const {
  return lang_format(msg("Progress"), QString::number(started), QString::number(total_));
}

void ProgressWindow::poll() {
  // While the break question is open the main thread holds the progress lock itself.
  if (asking_ || worker_known_ended_)
    return;
  if (worker_done_) {
    show_result();
    return;
  }
  int started = 0;
  qint64 permille = 0;
  QString current;
  {
    const std::lock_guard lock(progress_.mutex);
    started = progress_.files_started;
    permille = progress_.permille_done;
    current = progress_.current_file;
  }
  started_polled_ = started;
  if (started > started_shown_)
    show_started(started, current);
  bar_->setValue(std::max(bar_->value(), static_cast<int>(permille)));
}

void ProgressWindow::show_started(int started, const QString &current_file) {
  started_shown_ = started;
  setWindowTitle(lang(QStringLiteral("Dialog"), QStringLiteral("Convert Progress")) +
                 QLatin1Char(' ') + count_text(started));
  text_->setText(fitted_path(current_file));
  emit file_shown(started);
}

QString ProgressWindow::fitted_path(const QString &path) const {
  if (path.size() * char_width_ <= text_width)
    return path;
  // The average width guesses; paths of wide letters would still be clipped at the end, where
  // the file name is, so the cut grows until the text really fits. Once per file only.
  const QFontMetrics metrics(text_->font());
  int n = max_chars_;
  QString shown = shorten_middle(path, n);
  while (n > 5 && metrics.horizontalAdvance(shown) > text_width)
    shown = shorten_middle(path, --n);
  return shown;
}

void ProgressWindow::show_result() {
  worker_.join();
  worker_known_ended_ = true;
  // The worker has ended, so its record can be read without the lock. A run that ended between
  // two polls still counts the files it started.
  started_polled_ = progress_.files_started;
  const int converted = result_.files_converted;
  const QStringList unconverted = unconverted_lines(*request_, result_);
  const QString converted_line =
      lang_format(msg("Files converted"), QString::number(converted), QString::number(total_));
  if (unconverted.isEmpty()) {
    const QString complete = msg("Conversion complete");
    set_status_text(complete);
    setWindowTitle(complete + QLatin1Char(' ') + count_text(started_polled_));
    text_->setText(converted_line);
    bar_->setValue(bar_->maximum());
  } else {
    const QString stopped = msg("Conversion is not complete");
    // The status bar keeps the first reason after the window is gone.
    set_status_text(stopped + QStringLiteral(": ") + unconverted.first());
    text_->setText(break_flag_ ? stopped : converted_line);
    setWindowTitle(stopped + QLatin1Char(' ') + count_text(started_polled_));
    show_details(unconverted);
  }
  ok_->setEnabled(true);
  ok_->setFocus();
  emit finished_shown();
}

void ProgressWindow::show_details(const QStringList &lines) {
  details_->setPlainText(lines.join(QLatin1Char('\n')));
  details_->show();
  const int grown = details_height + 10;
  ok_->move(ok_->x(), ok_->y() + grown);
  setFixedSize(inner_width, inner_height + grown);
}

void ProgressWindow::closeEvent(QCloseEvent *event) {
  event->ignore();
  if (asking_ || !loop_)
    return;
  if (worker_done_) {
    if (!worker_known_ended_)
      show_result();
    loop_->quit();
    return;
  }
  // Holding the lock parks the worker at its next look at the record: it never waits there while
  // holding anything the question needs, and it cannot start another file before the answer.
  std::unique_lock lock(progress_.mutex);
  asking_ = true;
  break_flag_ = ask_break_conversion();
  asking_ = false;
  if (break_flag_)
    progress_.keep_running = false;
}

void ProgressWindow::reject() { close(); }

RunResult run_progress_window(const ConversionRequest &request) {
  MainWindow *owner = main_window();
  ProgressWindow window(owner);
  const RunResult result = window.run(request);
  if (owner)
    owner->activateWindow();
  return result;
}

QStringList unconverted_lines(const ConversionRequest &request, const RunResult &result) {
  QStringList lines;
  for (std::size_t i = 0; i < result.files.size() && i < request.files.size(); ++i) {
    const FileResult &file = result.files[i];
    const QString &path = request.files[i].path;
    if (file.status == FileStatus::Failed)
      lines << lang_format(msg("File failed"), path, file.reason);
    else if (file.status == FileStatus::NotConverted)
      lines << lang_format(msg("File not converted"), path);
  }
  return lines;
}

QString shorten_middle(const QString &text, int n) {
  if (text.isEmpty() || text.size() <= n)
    return text;
  const int half = (n - 3) / 2;
  return text.left(half) + QLatin1String("...") + text.right(half);
}

bool ask_break_conversion() {
  return ask_yes_no(msg("Warning"), msg("Ask break conversion"), MessageIcon::Warning);
}

} // namespace lumbrix
