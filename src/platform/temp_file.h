#pragma once

#include <QByteArray>
#include <QString>

namespace lumbrix {

// Whether a temporary file gets a name only when it is put in place (where the file system has
// O_TMPFILE) or from the start.
enum class TempName { when_placed, from_start };

// A file written beside the name it will take. It is created, written and read back through one
// descriptor, and nothing opens it again by name, so a name swapped for a link cannot redirect
// the writing. Without a name until it is put in place, it leaves nothing behind whatever ends
// the process. With one (created with O_EXCL | O_NOFOLLOW, trying fresh names until one is
// free, so an existing entry or a dangling link is never taken), the name is removed when the
// file is not put in place and by the handlers of SIGINT, SIGTERM and SIGHUP.
class TempFile {
public:
  TempFile() = default;
  TempFile(TempFile &&other) noexcept;
  TempFile &operator=(TempFile &&other) noexcept;
  TempFile(const TempFile &) = delete;
  TempFile &operator=(const TempFile &) = delete;
  ~TempFile(); // a file not put in place is removed

  // Creates the file in folder; names are prefix, random letters, "." and extension.
  static TempFile create(const QString &folder, const QString &prefix, const QString &extension,
                         TempName naming = TempName::when_placed);

  bool is_open() const { return fd_ >= 0; }
  int descriptor() const { return fd_; }
  // The temporary name while it has one.
  QString path() const;
  // Bytes written so far as the descriptor sees them; -1 on failure.
  qint64 size() const;
  bool write(const char *data, qint64 size);
  // Asks the system to start writing what is written so far to disk, without waiting, so that
  // the sync before commit has less left to wait for.
  void start_writeback() const;

  // Gives the file the name file_name in its folder: the data synced to disk, an existing file
  // of that name replaced in one step (its permissions kept), then the folder synced; with no
  // existing file, a file without a name takes file_name directly. False when a step fails,
  // error (when given) then holding its error number, or when the name does not end up on this
  // file (a name swapped for a link on the way), error then 0; the file is then removed.
  // With left_unsynced given, a file that replaces nothing is put in place unsynced, setting
  // *left_unsynced: no earlier file can be lost, and the caller syncs its file system before it
  // relies on the file. A file that replaces one is always synced before the rename.
  bool commit(const QString &file_name, int *error = nullptr, bool *left_unsynced = nullptr);
  // Closes and removes the file.
  void discard();

private:
  bool link_as(const QByteArray &name) const;
  bool give_name();
  bool move_to(const QByteArray &target, bool replacing);
  bool place_new(const QByteArray &target);
  bool drop_name();
  bool holds(const QByteArray &name) const; // name in the folder is this file
  bool planted(const QByteArray &name) const;

  int fd_ = -1;
  int folder_fd_ = -1;
  QString folder_;
  QString prefix_;
  QString extension_;
  QByteArray name_; // the temporary name, empty while it has none
  int signal_slot_ = -1;
};

// For tests: where temporary names come from (nullptr: random ones), a call with the temporary
// path between the moment the file has its name and the one it is renamed into place, and one
// with the final path just after it is put there.
struct TempFileHooks {
  QByteArray (*next_name)() = nullptr;
  void (*before_rename)(const QString &path) = nullptr;
  void (*after_placing)(const QString &path) = nullptr;
};
void set_temp_file_hooks(const TempFileHooks &hooks);

} // namespace lumbrix
