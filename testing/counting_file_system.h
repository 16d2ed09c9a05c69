#pragma once
// A file system that counts the times a file is put in place by a rename
// (how the settings files and the analysis' files are written), so that a
// test can tell how often a file is rewritten.

#include <map>
#include <mutex>
#include <string>

#include "platform/forwarding_file_system.h"

namespace zentrova::testing {

class CountingFileSystem : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  Status ReplaceFile(const std::string& from, const std::string& to) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++replaced_[to];
    }
    return ForwardingFileSystem::ReplaceFile(from, to);
  }
  int Replaced(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    return replaced_[path];
  }

 private:
  std::mutex mutex_;
  std::map<std::string, int> replaced_;
};

}  // namespace zentrova::testing
