#pragma once

#include <QtGlobal>

#include <sys/resource.h>

namespace lumbrix::test {

// The address space this process uses now, in bytes; -1 when it cannot tell.
qint64 address_space_used();

// Limits the process's address space to what it uses now and room more while it lives, as
// `ulimit -v` would; ok() is false when the hard limit leaves no room to do so.
class AddressSpaceLimit {
public:
  explicit AddressSpaceLimit(qint64 room);
  ~AddressSpaceLimit();
  AddressSpaceLimit(const AddressSpaceLimit &) = delete;
  AddressSpaceLimit &operator=(const AddressSpaceLimit &) = delete;

  bool ok() const { return ok_; }

private:
  rlimit old_{};
  bool ok_ = false;
};

} // namespace lumbrix::test
