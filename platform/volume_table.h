#pragma once
// The drives C to L of the station: each letter stands for the root folder
// of a mounted volume. The operator lists them in the profile, one key per
// letter ("sDriveRoot_C" = "/", "sDriveRoot_D" = "/media/usb1", ...).
// Without such a list the table holds one drive, C, rooted at the mount
// point that holds the destination folder, so nothing is ever moved onto
// a volume by guessing.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/key_value_store.h"

namespace zentrova {

struct VolumeSpace {
  uint64_t freeBytes = 0;   // the free bytes the station's user can write (not the reserved ones)
  uint64_t totalBytes = 0;
};

class VolumeTable {
 public:
  virtual ~VolumeTable() = default;
  // The root folder of each drive there is, by letter.
  virtual std::map<char, std::string> Roots() = 0;
  // The root folder of drive `letter`; empty when there is no such drive.
  std::string Root(char letter) {
    const auto roots = Roots();
    const auto it = roots.find(letter);
    return it == roots.end() ? std::string() : it->second;
  }
  // Free and total space of the volume at `root`; nothing on failure or
  // when `root` is not a folder.
  virtual std::optional<VolumeSpace> Space(const std::string& root) = 0;
};

class LinuxVolumeTable : public VolumeTable {
 public:
  // `destination` gives the destination folder of the moment.
  LinuxVolumeTable(KeyValueStore& profile, std::function<std::string()> destination);
  std::map<char, std::string> Roots() override;
  std::optional<VolumeSpace> Space(const std::string& root) override;

 private:
  KeyValueStore& profile_;
  std::function<std::string()> destination_;
};

// The mount point of the volume holding `path` (or its nearest existing
// parent); "/" when nothing better is known.
std::string MountPointOf(const std::string& path);

class FakeVolumeTable : public VolumeTable {
 public:
  struct Volume {
    std::string root;
    std::optional<VolumeSpace> space;
  };
  std::map<char, std::string> Roots() override {
    std::map<char, std::string> roots;
    for (const auto& [letter, v] : volumes) roots[letter] = v.root;
    return roots;
  }
  std::optional<VolumeSpace> Space(const std::string& root) override {
    for (const auto& [letter, v] : volumes) {
      if (v.root == root) return v.space;
    }
    return std::nullopt;
  }
  // A drive `letter` rooted at "<letter>:\" with the given free fraction
  // of 1000000 kB.
  void Add(char letter, double freeFraction, std::string root = "") {
    const uint64_t total = 1000000000ull;
    volumes[letter] = {root.empty() ? std::string(1, letter) + ":\\" : root,
                       VolumeSpace{static_cast<uint64_t>(freeFraction * static_cast<double>(total)), total}};
  }
  std::map<char, Volume> volumes;
};

}  // namespace zentrova
