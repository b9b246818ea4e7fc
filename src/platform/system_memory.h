#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace lumbrix {

// Bytes this process can still take before something stops it: system_share of the memory the
// system can give without swapping, and all that the process's address-space and data limits
// and its control group's limit leave. The largest qint64 when none of them can be read.
qint64 memory_headroom(double system_share = 1.0);

// What the control groups named in groups (as /proc/self/cgroup lists them) leave, their folders
// below root (/sys/fs/cgroup): for the v2 group and the v1 memory group, and each group above
// them, the limit less what the group uses; the smallest of these. The largest qint64 when no
// limit can be read.
qint64 cgroup_headroom(const QByteArray &groups, const QByteArray &root);

// Under an address-space limit, every thread that allocates gets a malloc arena of its own, which
// reserves 64 MB of that space whether it is used or not: a batch's workers and their helpers
// would leave too little for the picture a file alone converts with. Keeps the allocator to two
// arenas when such a limit is set; without one, nothing changes.
void fit_allocator_to_address_limit();

} // namespace lumbrix
