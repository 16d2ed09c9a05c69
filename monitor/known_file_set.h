#pragma once
// Which records of the scanned folders the run has seen. A record seen once
// is never new again while it lies in a scanned folder, however many lie
// there; each listing of a folder forgets the names the folder no longer
// holds, so the set never holds more than the scanned folders do.
//
// The bounded KnownFiles list of the settings block keeps showing the latest
// paths; this set is what the monitor asks.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace zentrova {

class KnownFileSet {
 public:
  void Add(const std::string& folder, const std::string& name);
  bool Contains(const std::string& folder, const std::string& name) const;
  // After a complete listing of folder: forgets the names it no longer holds.
  void Prune(const std::string& folder, const std::vector<std::string>& listing);
  // Forgets every folder but these (the folders a cycle scans).
  void KeepOnly(const std::vector<std::string>& folders);
  size_t Size() const;

 private:
  // Per folder: name -> the listing that last held it.
  std::map<std::string, std::unordered_map<std::string, uint64_t>> folders_;
  uint64_t listings_ = 0;
};

}  // namespace zentrova
