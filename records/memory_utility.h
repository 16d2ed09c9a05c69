#pragma once
// Two-dimensional float arrays for the analysis code: row pointers into one
// zero-filled block. A heap that cannot give the block ends the process with
// code 10 after telling the operator, as the station cannot go on without it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/prompt.h"

namespace zentrova {

// rows + 1 row pointers over one block of (rows + 1) x (cols + 1) floats;
// row i starts at element i x (cols + 1). Owns the block.
class FloatMatrix {
 public:
  FloatMatrix(std::vector<float> block, std::vector<float*> rows)
      : block_(std::move(block)), rows_(std::move(rows)) {}
  float** rows() { return rows_.data(); }
  float* operator[](size_t i) { return rows_[i]; }
  size_t rowCount() const { return rows_.size(); }
  size_t blockSize() const { return block_.size(); }

 private:
  std::vector<float> block_;
  std::vector<float*> rows_;
};

class CMemoryUtility {
 public:
  using ExitFunction = std::function<void(int)>;
  // `exit` ends the process; tests hand in one that throws instead.
  explicit CMemoryUtility(Prompt& prompt, ExitFunction exit = nullptr);

  std::unique_ptr<FloatMatrix> f2matrix(int rows, int cols);

 private:
  void Fail(const std::string& what);
  Prompt& prompt_;
  ExitFunction exit_;
};

}  // namespace zentrova
