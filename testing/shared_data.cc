#include "testing/shared_data.h"

#include <cstdlib>
#include <filesystem>

namespace zentrova::testing {

// A relative name counts from the folder the test runs in (ctest runs each
// test in its build folder), and is shown as the folder it names there.
std::string SharedDataFolder() {
  const char* given = std::getenv("ZENTROVA_TEST_DATA");
  const std::string folder = given && *given ? given : ZENTROVA_SHARED_DATA;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
  return ec ? folder : absolute.lexically_normal().string();
}

std::string SharedSeg2Folder() { return SharedDataFolder() + "/seg2"; }

std::string SharedDataMissing() {
  std::error_code ec;
  if (std::filesystem::is_directory(SharedSeg2Folder(), ec)) return "";
  return "no shared test data: looked for the records in " + SharedSeg2Folder() +
         " (set ZENTROVA_TEST_DATA to the folder that holds seg2/)";
}

bool SharedDataRequired() {
  const char* required = std::getenv("ZENTROVA_REQUIRE_TEST_DATA");
  return required && std::string(required) == "1";
}

}  // namespace zentrova::testing
