#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace lumbrix {

// Makes what was written in each folder durable with one sync of each file system the folders
// are on. Gives, for each folder in order, 0 when it is on disk, or the error number of what
// failed (the folder could not be opened, or its file system could not be synced).
std::vector<int> sync_file_systems(const QStringList &folders);

} // namespace lumbrix
