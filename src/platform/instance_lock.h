#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace lumbrix {

// How a window front starts beside others of the same user and display.
enum class InstanceRole {
  first,  // it holds the lock: it listens for the starts after it
  second, // another live process holds the lock: it hands its files over
  alone,  // no private folder or no lock file can be had: it runs without either
};

struct InstanceClaim {
  InstanceRole role = InstanceRole::alone;
  std::unique_ptr<QLockFile> lock; // held while role is first
};

// Takes the marker of a running window front: a lock file named after the instance name and
// the display in this user's private runtime folder. It is held, never waited on; a lock left
// behind by a process that died is taken over.
InstanceClaim claim_instance(const QString &name);

// Where claim_instance keeps the lock of a name; empty without a private folder.
QString instance_lock_path(const QString &name);

// A file of the instance of name on this display: <folder><name> on <display><extension>.
// Empty without a private folder.
QString instance_file(const QString &name, const QString &extension);

// What keeps starts on one display apart from those on another: the Wayland and X displays (an
// X display without its screen number), or the login session when there is no display.
QString instance_display();

// This user's private folder for instance locks and channels, with a trailing separator: the
// first of XDG_RUNTIME_DIR, /run/user/<uid> and <temp>/runtime-<user> (made 0700 when missing)
// that is a folder, not a link, owned by this user and closed to everyone else. Empty when none
// is: nothing is shared through a folder another user could read or plant files in.
QString instance_folder();

} // namespace lumbrix
