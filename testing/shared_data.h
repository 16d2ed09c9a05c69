#pragma once
// The real records the tests read live outside the tree: in the folder
// named by $ZENTROVA_TEST_DATA when it is set, else in the one named when
// the build was set up (../shared/data beside the source tree). Where they
// are not there, the tests that need them are skipped with one line saying
// where they looked; with $ZENTROVA_REQUIRE_TEST_DATA=1 (as in CI) they
// fail instead.

#include <string>

namespace zentrova::testing {

std::string SharedDataFolder();
// The folder of the SEG-2 records, SharedDataFolder() + "/seg2".
std::string SharedSeg2Folder();
// Empty when the records are there; else the line that says where they were looked for.
std::string SharedDataMissing();
bool SharedDataRequired();

}  // namespace zentrova::testing

// First statement of a test that reads the shared records (the test
// includes gtest).
#define ZENTROVA_NEEDS_SHARED_DATA()                                        \
  do {                                                                      \
    const std::string zentrovaMissing = ::zentrova::testing::SharedDataMissing(); \
    if (!zentrovaMissing.empty()) {                                         \
      if (::zentrova::testing::SharedDataRequired()) GTEST_FAIL() << zentrovaMissing; \
      GTEST_SKIP() << zentrovaMissing;                                      \
    }                                                                       \
  } while (0)
