#include "platform/volume_table.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace zentrova {
namespace {

bool DeviceOf(const std::string& path, dev_t& device) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  device = st.st_dev;
  return true;
}

std::string Parent(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

std::string MountPointOf(const std::string& given) {
  if (given.empty() || given[0] != '/') return "/";
  std::string path = given;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  dev_t device = 0;
  while (path != "/" && !DeviceOf(path, device)) path = Parent(path);
  if (path == "/") return "/";
  // Climb while the parent is on the same device.
  for (;;) {
    const std::string parent = Parent(path);
    dev_t parentDevice = 0;
    if (!DeviceOf(parent, parentDevice) || parentDevice != device) return path;
    if (parent == "/") return "/";
    path = parent;
  }
}

LinuxVolumeTable::LinuxVolumeTable(KeyValueStore& profile, std::function<std::string()> destination)
    : profile_(profile), destination_(std::move(destination)) {}

std::map<char, std::string> LinuxVolumeTable::Roots() {
  std::map<char, std::string> roots;
  for (char c = 'C'; c <= 'L'; ++c) {
    const auto root = profile_.Get(std::string("sDriveRoot_") + c);
    if (root && !root->empty()) roots[c] = *root;
  }
  if (roots.empty()) roots['C'] = MountPointOf(destination_ ? destination_() : std::string());
  return roots;
}

std::optional<VolumeSpace> LinuxVolumeTable::Space(const std::string& root) {
  // A root must be a folder: statvfs answers for a file too (with the file
  // system it lies on), but no destination folder can be made below one.
  struct stat st;
  if (root.empty() || ::stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
  struct statvfs s;
  if (::statvfs(root.c_str(), &s) != 0) return std::nullopt;
  const uint64_t unit = s.f_frsize ? s.f_frsize : s.f_bsize;
  // The blocks the station's user may write: the reserved ones (f_bfree
  // counts them) are of no use to it.
  return VolumeSpace{static_cast<uint64_t>(s.f_bavail) * unit, static_cast<uint64_t>(s.f_blocks) * unit};
}

}  // namespace zentrova
