#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace lumbrix {

// What a walk through a folder finds.
enum class FoundKind {
  file,     // a regular file
  link,     // a symbolic link, not followed
  too_long, // a file or folder whose path is longer than the system opens
};

struct FoundEntry {
  QString path;
  FoundKind kind;
};

// The regular files and links whose name wanted accepts, in folder and with recursive in every
// folder below it, in no particular order. Links to folders are not followed, so a loop of links
// cannot make the walk endless; a folder whose path is too long to open is found itself, as
// too_long, and so is a wanted file whose path is. One descriptor is open at a time, whatever
// the depth.
std::vector<FoundEntry> walk_folder(const QString &folder, bool recursive,
                                    const std::function<bool(const QString &name)> &wanted);

} // namespace lumbrix
