#include "engine/run/conversion_worker.h"

#include "engine/run/memory_gate.h"
#include "platform/bands.h"
#include "platform/console.h"
#include "platform/files.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <thread>

namespace lumbrix {
namespace {

bool keep_running(ProgressRecord &progress) {
  const std::lock_guard lock(progress.mutex);
  return progress.keep_running;
}

// The watermark is drawn before a file is named; when its text holds the counters, a file's
// stages must wait for the files before it.
bool files_depend_on_each_other(const ConversionRequest &request) {
  const Settings &s = request.settings;
  const QString text = s.text.toLower();
  return s.do_watermark == WatermarkKind::Text &&
         (text.contains(QLatin1String("%n%")) || text.contains(QLatin1String("%rnd%")));
}

// Several files share the memory; a file alone shares it with no one.
bool side_by_side(const ConversionRequest &request) { return request.files.size() > 1; }

// How many files past the first one not yet put in place a worker may start, per worker: each
// written file holds its descriptors until its turn, so this bounds what a run holds open,
// however long the batch and however slow one of its files.
constexpr std::size_t files_ahead_per_worker = 4;

// One run: the files prepared side by side and committed in order by whichever worker gets
// there.
class Run {
public:
  Run(const ConversionRequest &request, ProgressRecord &progress)
      : request_(request), progress_(progress), prepared_(request.files.size()),
        ready_(request.files.size(), false),
        gate_(side_by_side(request) ? batch_memory_budget() : 0), outputs_(request.files) {
    result_.counters = request.counters;
    result_.files.resize(request.files.size());
  }

  RunResult run() {
    // The debug lines of a file read in order only when the files take turns.
    const bool in_turn = files_depend_on_each_other(request_) || request_.trace;
    const int workers = in_turn ? 1 : std::min<int>(core_count(), int(request_.files.size()));
    window_ = files_ahead_per_worker * static_cast<std::size_t>(workers);
    std::vector<std::thread> threads;
    for (int i = 1; i < workers; ++i)
      threads.emplace_back([this] { work(); });
    work();
    for (std::thread &thread : threads)
      thread.join();
    make_durable();
    const std::lock_guard lock(progress_.mutex);
    progress_.files_converted = result_.files_converted;
    result_.stopped = !progress_.keep_running;
    return std::move(result_);
  }

private:
  // Takes files until none is left or the run is stopped.
  void work() {
    for (;;) {
      const std::size_t index = next_++;
      if (index >= request_.files.size())
        return;
      wait_for_turn(index);
      if (!start(index)) {
        stop_waiting();
        return;
      }
      const InputFile &file = request_.files[index];
      // The loader still checks that a file alone fits.
      const bool shares = side_by_side(request_) && file.refusal.isEmpty();
      const qint64 memory = shares ? conversion_memory(file.path, deep_output(request_)) : 0;
      const FileProgress progress = progress_of(index);
      gate_.acquire(memory);
      prepared_[index] = prepare_file(request_, file, counters_for(), progress);
      gate_.release(memory);
      progress.report(1000);
      finish(index);
    }
  }

  // Waits until the file is within the window of files the run may hold written at once, or the
  // run is stopped.
  void wait_for_turn(std::size_t index) {
    std::unique_lock lock(commit_mutex_);
    turn_.wait(lock, [this, index] { return stopped_ || index < committed_ + window_; });
  }

  // A stopped run leaves files that are never committed: nobody waits for them.
  void stop_waiting() {
    {
      const std::lock_guard lock(commit_mutex_);
      stopped_ = true;
    }
    turn_.notify_all();
  }

  bool start(std::size_t index) {
    const std::lock_guard lock(progress_.mutex);
    if (!progress_.keep_running)
      return false;
    // Workers may start files out of order: the count never goes back.
    const int number = static_cast<int>(index) + 1;
    if (number > progress_.files_started) {
      progress_.files_started = number;
      progress_.current_file = request_.files[index].path;
      progress_.current_permille = 0;
    }
    if (request_.trace)
      console_line(QStringLiteral("Processing: ") + progress_.current_file);
    return true;
  }

  // Only one file at a time is prepared when they depend on each other, after the one before it
  // was committed; otherwise the counters are not read until naming.
  NameCounters counters_for() {
    const std::lock_guard lock(commit_mutex_);
    return result_.counters;
  }

  // A file's share of the run's progress, as it moves.
  FileProgress progress_of(std::size_t index) {
    auto shown = std::make_shared<int>(0);
    return {[this, shown, index](int permille) {
              const std::lock_guard lock(progress_.mutex);
              progress_.permille_done += permille - *shown;
              if (permille == 1000 && *shown != 1000)
                ++progress_.files_done;
              if (static_cast<int>(index) + 1 == progress_.files_started)
                progress_.current_permille = permille;
              *shown = permille;
            },
            [this] { return keep_running(progress_); }};
  }

  // Marks the file ready and commits every ready file whose turn has come.
  void finish(std::size_t index) {
    const std::lock_guard lock(commit_mutex_);
    ready_[index] = true;
    while (committed_ < ready_.size() && ready_[committed_]) {
      commit(committed_);
      ++committed_;
    }
    turn_.notify_all();
  }

  void commit(std::size_t index) {
    const InputFile &file = request_.files[index];
    FileResult &result = result_.files[index];
    prepared_[index].written.may_defer_sync = true;
    result = commit_file(request_, index, prepared_[index], result_.counters, outputs_);
    if (result.status == FileStatus::Converted && prepared_[index].written.left_unsynced)
      unsynced_.add(index, prepared_[index].written.folder);
    if (request_.trace) {
      console_line(QStringLiteral("Saving As: ") + result.output_path);
      console_line(result.status == FileStatus::Converted ? QStringLiteral("OK")
                                                          : QStringLiteral("Not OK"));
    }
    if (result.status == FileStatus::Converted) {
      ++result_.files_converted;
      result_.counters = next_name_counters(result_.counters);
      apply_file_timestamp(request_.settings, file.path, result.output_path);
    }
  }

  // What the run put in place unsynced goes to disk before the run reports it converted; a
  // file that cannot is reported failed.
  void make_durable() {
    for (const auto &[index, reason] : unsynced_.make_durable()) {
      result_.files[index] = {FileStatus::Failed, result_.files[index].output_path, reason};
      --result_.files_converted;
    }
  }

  const ConversionRequest &request_;
  ProgressRecord &progress_;
  std::vector<PreparedFile> prepared_;
  std::vector<bool> ready_;
  MemoryGate gate_;
  std::atomic<std::size_t> next_ = 0;
  std::mutex commit_mutex_;
  std::condition_variable turn_;
  std::size_t committed_ = 0;
  std::size_t window_ = 1;
  bool stopped_ = false;
  RunOutputs outputs_;
  UnsyncedOutputs unsynced_;
  RunResult result_;
};

} // namespace

RunResult run_conversion(const ConversionRequest &request, ProgressRecord &progress) {
  raise_descriptor_limit();
  return Run(request, progress).run();
}

} // namespace lumbrix
