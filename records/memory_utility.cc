#include "records/memory_utility.h"

#include <cstdlib>
#include <limits>
#include <new>

namespace zentrova {

CMemoryUtility::CMemoryUtility(Prompt& prompt, ExitFunction exit) : prompt_(prompt), exit_(std::move(exit)) {
  if (!exit_) exit_ = [](int code) { std::exit(code); };
}

void CMemoryUtility::Fail(const std::string& what) {
  prompt_.Show("Memory allocation error in CMemoryUtility : " + what);
  exit_(10);
}

std::unique_ptr<FloatMatrix> CMemoryUtility::f2matrix(int rows, int cols) {
  std::vector<float*> pointers;
  std::vector<float> block;
  if (rows < 0 || cols < 0) {
    Fail("allocation failure in f2matrix()");
    return nullptr;
  }
  const size_t r = static_cast<size_t>(rows) + 1;
  const size_t c = static_cast<size_t>(cols) + 1;
  // A block whose size does not even fit in memory's address range fails
  // before anything is allocated.
  if (c > std::numeric_limits<size_t>::max() / sizeof(float) / r) {
    Fail("allocation failure 2 in f2matrix()");
    return nullptr;
  }
  try {
    pointers.resize(r);
  } catch (const std::exception&) {
    Fail("allocation failure in f2matrix()");
    return nullptr;
  }
  try {
    block.assign(r * c, 0.0f);
  } catch (const std::exception&) {
    Fail("allocation failure 2 in f2matrix()");
    return nullptr;
  }
  for (size_t i = 0; i < r; ++i) pointers[i] = block.data() + i * c;
  return std::make_unique<FloatMatrix>(std::move(block), std::move(pointers));
}

}  // namespace zentrova
