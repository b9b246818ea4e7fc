#pragma once

#include <QByteArray>
#include <QString>

#include <compare>
#include <cstdio>
#include <memory>
#include <optional>

namespace lumbrix {

// File operations the conversion needs, in the one place that knows about the operating system.

// The system's words for an error number, starting lower-case: "permission denied".
QString error_text(int error);

// A path as the C library and the image libraries take it.
QByteArray native_path(const QString &path);

// A regular file open for reading. FIFOs, devices and folders give none, and the open never
// waits for a FIFO writer: a hostile path, or a file swapped after the checks, cannot hang a run.
struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};
using ReadFile = std::unique_ptr<std::FILE, FileCloser>;
ReadFile open_regular_file(const QString &path);

// Reads size bytes at offset of an open file straight from its descriptor, leaving the stream's
// position and buffer alone; false when fewer bytes are there.
bool read_at(std::FILE *file, qint64 offset, void *buffer, std::size_t size);

// Size of an open file; -1 on failure.
qint64 open_file_size(std::FILE *file);

bool file_exists(const QString &path);
bool is_same_file(const QString &a, const QString &b);

// Which file a path names, whatever the path: its device and inode.
struct FileIdentity {
  quint64 device = 0;
  quint64 inode = 0;
  auto operator<=>(const FileIdentity &) const = default;
};
// follow_links false: a link itself rather than what it leads to. None when nothing is there.
std::optional<FileIdentity> file_identity(const QString &path, bool follow_links);

// path absolute, its folder's links, "." and ".." resolved; the file itself, which need not
// exist, is not followed. Where the folder does not exist, the cleaned absolute path.
QString resolved_path(const QString &path);

// The longest path, in bytes, that the system opens.
qint64 longest_path();

// Size in bytes of a regular file; -1 when there is none.
qint64 file_size(const QString &path);

// Moves from over to in one step: an existing file at to stays until it is replaced.
bool rename_file(const QString &from, const QString &to);

bool delete_file(const QString &path);

// Last-write time in whole seconds since 1970 (UTC).
bool file_time(const QString &path, qint64 &seconds);
bool set_file_time(const QString &path, qint64 seconds);

// Creates the missing levels of relative below base, outermost first. Refuses a relative path
// that climbs out of base. True when base + relative is a folder afterwards.
bool create_folders(const QString &base, const QString &relative);

// A write beyond the file-size limit then fails with an error instead of ending the process.
void ignore_file_size_signal();

// Raises the soft limit on open descriptors to the hard one.
void raise_descriptor_limit();

} // namespace lumbrix
