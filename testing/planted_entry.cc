#include "testing/planted_entry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "testing/temp_folder.h"

namespace zentrova::testing {
namespace {

constexpr const char kPrivateText[] = "somebody's private text\n";

}  // namespace

const char* PlantedName(Planted kind) {
  switch (kind) {
    case Planted::kLinkToPrivateFile: return "a link to a private file";
    case Planted::kFifo: return "a FIFO";
    case Planted::kFifoWithReader: return "a FIFO held open by a reader";
  }
  return "?";
}

PlantedEntry::PlantedEntry(const std::string& path, Planted kind)
    : path_(path), privateFile_(path + ".private-target"), kind_(kind) {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
  if (kind_ == Planted::kLinkToPrivateFile) {
    const int fd = ::open(privateFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
      (void)::write(fd, kPrivateText, sizeof kPrivateText - 1);
      ::close(fd);
    }
    std::filesystem::create_symlink(privateFile_, path_, ec);
    return;
  }
  ::mkfifo(path_.c_str(), 0666);
  if (kind_ == Planted::kFifoWithReader) reader_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

PlantedEntry::~PlantedEntry() {
  if (reader_ >= 0) ::close(reader_);
  std::error_code ec;
  std::filesystem::remove(privateFile_, ec);
}

bool PlantedEntry::ReturnsPromptly(const std::function<void()>& writer, int seconds) {
  return testing::ReturnsPromptly(writer, {this}, seconds);
}

bool ReturnsPromptly(const std::function<void()>& writer, const std::vector<const PlantedEntry*>& planted,
                     int seconds) {
  auto done = std::async(std::launch::async, writer);
  if (done.wait_for(std::chrono::seconds(seconds)) == std::future_status::ready) {
    done.get();
    return true;
  }
  // Blocked in the open of a FIFO: readers let it through.
  std::vector<int> readers;
  for (const PlantedEntry* p : planted) readers.push_back(::open(p->path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  done.wait();
  for (int fd : readers) {
    if (fd >= 0) ::close(fd);
  }
  return false;
}

bool PlantedEntry::Untouched() const {
  if (kind_ == Planted::kLinkToPrivateFile) return ReadFileBytes(privateFile_) == kPrivateText;
  struct stat st;
  return ::lstat(path_.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

std::string PlantedEntry::ReadFromFifo() {
  std::string got;
  if (reader_ < 0) return got;
  char buf[4096];
  for (ssize_t n; (n = ::read(reader_, buf, sizeof buf)) > 0;) got.append(buf, static_cast<size_t>(n));
  return got;
}

}  // namespace zentrova::testing
