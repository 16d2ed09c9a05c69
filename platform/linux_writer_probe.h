#pragma once
// Whether another program may still be writing a file, on Linux.
//
// A read lease can only be taken while no process has the file open for
// writing (readers, such as a backup tool or our own reader, do not hold a
// record back); it is released at once. Where the lease cannot be had (the
// file belongs to another user, the file system has no leases) the /proc
// descriptor tables of all processes are searched for the file open for
// writing. Those tables of other users' processes are
// closed to an unprivileged station, so the search may not be able to tell.
// A file of unknown use counts as written until its contents have not
// changed for kQuietMs: an acquisition program running as another account
// writes a record within a few seconds and closes it.

#include <string>

#include "platform/file_system.h"  // WriterUse

namespace zentrova {

// How long a file whose writers cannot be seen must stay unchanged before
// it counts as complete.
inline constexpr int kQuietMs = 3000;

// The lease and the /proc search, for a regular file open as `fd`.
WriterUse ProbeWriters(int fd, const std::string& path);

// The search of the /proc descriptor tables for `path` open for writing by
// another process.
WriterUse SearchProcForWriters(const std::string& path);

// The lease-break signal (SIGIO) is sent when another program opens a file
// while the station holds its lease for that instant; by default it would
// end the station. Ignored once for the whole process, unless the program
// has set a handler of its own.
void IgnoreLeaseBreakSignal();

}  // namespace zentrova
