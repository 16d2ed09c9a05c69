#include "platform/process_memory.h"

#include <unistd.h>

#include <cstdio>

namespace zentrova {

int64_t ResidentMemoryKB() {
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  long long size = 0, resident = 0;
  const int got = std::fscanf(f, "%lld %lld", &size, &resident);
  std::fclose(f);
  const long page = ::sysconf(_SC_PAGESIZE);
  if (got != 2 || page <= 0 || resident < 0) return 0;
  return resident * (page / 1024);
}

}  // namespace zentrova
