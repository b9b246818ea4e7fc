#pragma once

#include <QString>

namespace lumbrix {

// Paths as texts. "/" and "\" both separate folders; a folder text ends with "/". The empty
// text means "no path" throughout and stays empty: it never becomes the root folder.

// folder with a trailing "/" ("" stays "").
QString with_separator(const QString &folder);

// The folder part of a path, up to and including its last "/" or "\"; empty without one.
QString folder_part(const QString &path);

// The file part of path with its last extension removed.
QString base_name(const QString &path);

// Lower-cased text after the last "." that follows the last "\", "/" or blank.
QString file_extension(const QString &path);

// The folder part of path with base removed when it contains it; empty if either is empty.
QString relative_subfolder(const QString &path, const QString &base);

} // namespace lumbrix
