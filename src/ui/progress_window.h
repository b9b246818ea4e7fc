#pragma once

#include "engine/run/conversion_worker.h"

#include <QDialog>

#include <atomic>
#include <thread>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QTreeWidget;
class QEventLoop;

namespace lumbrix {

// The window of one conversion run: it starts the conversion worker on its own thread, shows
// which file of how many is being converted, lets the user break the run (Stop, Escape or the
// close box), and shows the result until OK or the close box ends it: how the run ended, where
// it wrote, a way to that folder, and what became of each file.
class ProgressWindow : public QDialog {
  Q_OBJECT

public:
  explicit ProgressWindow(QWidget *owner);
  ~ProgressWindow() override;

  // Converts the request's files and returns when the window has been closed.
  RunResult run(const ConversionRequest &request);

  QLabel *text_label() const { return text_; }
  // Where the run wrote; shown when it has ended.
  QLabel *folder_label() const { return folder_; }
  // A row per file (file, result, reason), shown when the run has ended unless a single file was
  // converted.
  QTreeWidget *file_list() const { return list_; }
  // The list as tab-separated lines, as Copy List puts it on the clipboard.
  QString report_text() const;
  QProgressBar *progress_bar() const { return bar_; }
  QPushButton *ok_button() const { return ok_; }
  QPushButton *stop_button() const { return stop_; }
  QPushButton *open_folder_button() const { return open_folder_; }
  QPushButton *copy_button() const { return copy_; }
  int average_char_width() const { return char_width_; }
  int max_chars() const { return max_chars_; }
  bool break_requested() const { return break_flag_; }
  // What the worker reports; read it on this thread while the break question is open or after
  // the run.
  const ProgressRecord &progress_record() const { return progress_; }

signals:
  // The title and text were updated for a newly started file.
  void file_shown(int files_started);
  // The worker has ended and the result is shown.
  void finished_shown();

protected:
  void closeEvent(QCloseEvent *event) override;
  // Escape counts as the close box.
  void reject() override;

private:
  void poll();
  void show_started(int started, const QString &current_file);
  void show_result();
  void show_heading();
  void show_details();
  QWidget *make_buttons();
  QString fitted_path(const QString &path) const;
  QString count_text(int started) const;

  QLabel *text_ = nullptr;
  QProgressBar *bar_ = nullptr;
  QLabel *folder_ = nullptr;
  QTreeWidget *list_ = nullptr;
  QPushButton *ok_ = nullptr;
  QPushButton *stop_ = nullptr;
  QPushButton *open_folder_ = nullptr;
  QPushButton *copy_ = nullptr;
  QTimer *timer_ = nullptr;
  QEventLoop *loop_ = nullptr;
  ProgressRecord progress_;
  RunResult result_;
  std::thread worker_;
  std::atomic<bool> worker_done_{false};
  bool worker_known_ended_ = false;
  bool asking_ = false;
  bool break_flag_ = false;
  int char_width_ = 7;
  int max_chars_ = 40;
  int total_ = 0;
  int started_polled_ = 0;
  int started_shown_ = 0;
  const ConversionRequest *request_ = nullptr;
};

// The progress window over the main window for a checked request; what the run did.
RunResult run_progress_window(const ConversionRequest &request);

// One line for each file the run did not convert: its name and the reason, or that it was not
// converted (stopped or not reached); with every_file, a line for each converted file as well.
QStringList result_lines(const ConversionRequest &request, const RunResult &result,
                         bool every_file);

// text when it is empty or has at most n characters; otherwise its head, "..." and its tail,
// (n - 3) / 2 characters each.
QString shorten_middle(const QString &text, int n);

// The Yes/No question whether to stop a running conversion; true on Yes.
bool ask_break_conversion();

} // namespace lumbrix
