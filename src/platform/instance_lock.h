#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace lumbrix {

// The marker of a running window front: a lock file named after the instance name in the user's
// runtime folder. It is held, never waited on; a lock left behind by a process that died is taken
// over. Returns nothing (null) when another live process holds it or the file cannot be made.
std::unique_ptr<QLockFile> single_instance(const QString &name);

// Where single_instance keeps the lock of a name.
QString instance_lock_path(const QString &name);

// The folder of the instance locks, with a trailing separator: the user's runtime folder.
QString instance_folder();

} // namespace lumbrix
