#pragma once
// How much memory the running station holds.

#include <cstdint>

namespace zentrova {

// The resident memory of this process in kB (/proc/self/statm); 0 when unknown.
int64_t ResidentMemoryKB();

}  // namespace zentrova
