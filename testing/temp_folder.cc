#include "testing/temp_folder.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

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

// Written through a descriptor that no child process inherits: a program
// that another thread of the test starts meanwhile (the e-mail sender, a
// local server) would otherwise hold the file open for writing as long as
// it runs, and the station would rightly wait for it.
void TempFolder::Write(const std::string& name, const std::string& data) const {
  const int fd = ::open(Path(name).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;  // as a stream that fails to open: the test finds the file missing
  for (size_t done = 0; done < data.size();) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
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
