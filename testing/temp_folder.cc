#include "testing/temp_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zentrova::testing {

TempFolder::TempFolder(const std::string& base) {
  std::string root = base.empty() ? std::filesystem::temp_directory_path().string() : base;
  std::string tmpl = root + "/zentrova-test-XXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (::mkdtemp(buf.data()) == nullptr) throw std::runtime_error("mkdtemp failed in " + root);
  path_ = buf.data();
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempFolder::Write(const std::string& name, const std::string& data) const {
  std::ofstream out(Path(name), std::ios::binary);
  out << data;
}

std::string TempFolder::Read(const std::string& name) const { return ReadFileBytes(Path(name)); }

}  // namespace zentrova::testing

namespace zentrova::testing {

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace zentrova::testing
