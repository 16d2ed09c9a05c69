#pragma once
// A real folder under the system's temporary folder, removed with its
// contents when the object goes.

#include <string>

namespace zentrova::testing {

class TempFolder {
 public:
  explicit TempFolder(const std::string& base = "");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  // Writes a file straight through the C library (not through the code under test).
  void Write(const std::string& name, const std::string& data) const;
  std::string Read(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace zentrova::testing

namespace zentrova::testing {

// The bytes of a file, read straight through the C library.
std::string ReadFileBytes(const std::string& path);

}  // namespace zentrova::testing
