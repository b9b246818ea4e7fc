#include "ui/progress_window.h"

#include "prefs/message_boxes.h"
#include "text/lang.h"
#include "ui/main_window.h"
#include "ui/run_report.h"
#include "ui/window_flags.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <mutex>

namespace lumbrix {
namespace {

constexpr int inner_width = 300;
constexpr int inner_height = 110;
constexpr int margin = 10;
constexpr int text_width = inner_width - 2 * margin;
// The finished window with its list, until the user resizes it.
constexpr QSize report_size(560, 320);
constexpr int poll_interval_ms = 15;
// Bar units per file: each file's share moves with its own progress.
constexpr int file_units = 1000;

} // namespace

ProgressWindow::ProgressWindow(QWidget *owner) : QDialog(owner) {
  setWindowFlags(small_window_flags);
  setWindowTitle(lang(QStringLiteral("Dialog"), QStringLiteral("Convert Progress")));
  setFixedSize(inner_width, inner_height);
  setWindowModality(Qt::ApplicationModal);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(margin, margin, margin, margin);
  text_ = new QLabel(this);
  bar_ = new QProgressBar(this);
  bar_->setTextVisible(false);
  folder_ = new QLabel(this);
  folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  folder_->hide();
  list_ = new QTreeWidget(this);
  list_->setRootIsDecorated(false);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setHeaderLabels({lang_msg("File"), lang_msg("Result"), lang_msg("Reason")});
  list_->hide();
  layout->addWidget(text_);
  layout->addWidget(bar_);
  layout->addWidget(folder_);
  layout->addWidget(list_, 1);
  layout->addStretch();
  layout->addWidget(make_buttons());
  // Paths are shortened by a measured average width instead of measuring each path.
  const int measured = QFontMetrics(font()).horizontalAdvance(QStringLiteral("abc123:\\-")) / 9;
  if (measured > 0)
    char_width_ = measured;
  max_chars_ = text_width / char_width_;
}

QWidget *ProgressWindow::make_buttons() {
  auto *row = new QWidget(this);
  auto *buttons = new QHBoxLayout(row);
  buttons->setContentsMargins(0, 0, 0, 0);
  open_folder_ = new QPushButton(lang_msg("Open Folder"), row);
  copy_ = new QPushButton(lang_msg("Copy List"), row);
  stop_ = new QPushButton(lang_msg("Stop"), row);
  ok_ = new QPushButton(lang(QStringLiteral("Dialog"), QStringLiteral("OK")), row);
  for (QPushButton *button : {open_folder_, copy_, ok_})
    button->hide();
  ok_->setEnabled(false);
  buttons->addWidget(open_folder_);
  buttons->addWidget(copy_);
  buttons->addStretch();
  buttons->addWidget(stop_);
  buttons->addWidget(ok_);
  buttons->addStretch();
  // Stop asks as Escape and the close box do.
  connect(stop_, &QPushButton::clicked, this, &ProgressWindow::close);
  connect(ok_, &QPushButton::clicked, this, [this] {
    if (worker_known_ended_ && loop_)
      loop_->quit();
  });
  connect(open_folder_, &QPushButton::clicked, this,
          [this] { open_or_report(request_->output_folder); });
  connect(copy_, &QPushButton::clicked, this,
          [this] { QGuiApplication::clipboard()->setText(report_text()); });
  return row;
}

QString ProgressWindow::report_text() const { return run_report_text(list_); }

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
  return lang_format(lang_msg("Progress"), QString::number(started), QString::number(total_));
}

void ProgressWindow::poll() {
  // While the break question is open the main thread holds the progress lock itself.
  if (asking_ || worker_known_ended_)
    return;
  if (worker_done_) {
    show_result();
    return;
  }
  const ProgressView view = read_progress(progress_);
  started_polled_ = view.files_started;
  if (view.files_started > started_shown_)
    show_started(view.files_started, view.current_file);
  bar_->setValue(std::max(bar_->value(), static_cast<int>(view.permille_done)));
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
  const QStringList unconverted = result_lines(*request_, result_, false);
  text_->setText(break_flag_ && !unconverted.isEmpty()
                     ? lang_msg("Conversion is not complete")
                     : lang_format(lang_msg("Files converted"),
                                   QString::number(result_.files_converted),
                                   QString::number(total_)));
  if (unconverted.isEmpty())
    bar_->setValue(bar_->maximum());
  show_heading();
  show_details();
  stop_->hide();
  ok_->show();
  ok_->setEnabled(true);
  ok_->setDefault(true);
  ok_->setFocus();
  emit finished_shown();
}

void ProgressWindow::show_heading() {
  const QString heading = run_heading(result_, total_, break_flag_);
  const bool counted = heading_has_counts(result_, total_, break_flag_);
  setWindowTitle(counted ? heading : heading + QLatin1Char(' ') + count_text(started_polled_));
  const QStringList unconverted = result_lines(*request_, result_, false);
  // The status bar keeps the first reason after the window is gone.
  set_status_text(unconverted.isEmpty() ? heading
                                        : heading + QStringLiteral(": ") + unconverted.first());
}

void ProgressWindow::show_details() {
  folder_->setText(lang_format(lang_msg("Output folder"), request_->output_folder));
  folder_->setToolTip(request_->output_folder);
  folder_->show();
  open_folder_->show();
  setMinimumSize(inner_width, inner_height);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  fill_run_report(list_, *request_, result_);
  // A single converted file needs no list.
  if (total_ == 1 && result_.files_converted == 1) {
    adjustSize();
    keep_window_on_screen(this);
    return;
  }
  list_->show();
  copy_->show();
  resize(report_size);
  keep_window_on_screen(this);
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

QStringList result_lines(const ConversionRequest &request, const RunResult &result,
                         bool every_file) {
  QStringList lines;
  for (std::size_t i = 0; i < result.files.size() && i < request.files.size(); ++i) {
    const FileResult &file = result.files[i];
    const QString &path = request.files[i].path;
    if (file.status == FileStatus::Failed)
      lines << lang_format(lang_msg("File failed"), path, file.reason);
    else if (file.status == FileStatus::NotConverted)
      lines << lang_format(lang_msg("File not converted"), path);
    else if (every_file)
      lines << lang_format(lang_msg("File converted"), path);
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
  return ask_yes_no(lang_msg("Warning"), lang_msg("Ask break conversion"), MessageIcon::Warning);
}

} // namespace lumbrix
