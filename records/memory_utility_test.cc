#include "records/memory_utility.h"

#include <climits>
#include <stdexcept>

#include <gtest/gtest.h>

namespace zentrova {
namespace {

struct Exited : std::runtime_error {
  explicit Exited(int c) : std::runtime_error("exit"), code(c) {}
  int code;
};

TEST(F2Matrix, RowPointersIntoOneZeroBlock) {
  RecordingPrompt prompt;
  CMemoryUtility memory(prompt);
  auto m = memory.f2matrix(2, 3);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->rowCount(), 3u);
  EXPECT_EQ(m->blockSize(), 12u);
  EXPECT_EQ(m->rows()[1] - m->rows()[0], 4);
  EXPECT_EQ(m->rows()[2] - m->rows()[1], 4);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 4; ++j) EXPECT_EQ((*m)[i][j], 0.0f);
  }
}

TEST(F2Matrix, ImpossibleSizeTellsAndEndsWithCode10) {
  RecordingPrompt prompt;
  CMemoryUtility memory(prompt, [](int code) { throw Exited(code); });
  try {
    memory.f2matrix(INT_MAX, INT_MAX);
    FAIL() << "no exit";
  } catch (const Exited& e) {
    EXPECT_EQ(e.code, 10);
  }
  ASSERT_EQ(prompt.shown.size(), 1u);
  EXPECT_EQ(prompt.shown[0], "Memory allocation error in CMemoryUtility : allocation failure 2 in f2matrix()");
}

}  // namespace
}  // namespace zentrova
