#include "platform/system_info.h"

#include <limits.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

namespace zentrova {
namespace {

std::string Env(const char* name) {
  const char* v = ::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string CurrentFolderAtStart() {
  char path[PATH_MAX];
  return ::getcwd(path, sizeof path) ? std::string(path) : std::string("/");
}

}  // namespace

std::string AbsoluteAgainst(const std::string& path, const std::string& base) {
  if (path.empty() || path.front() == '/') return path;
  std::string rest = path;
  while (rest.rfind("./", 0) == 0) rest.erase(0, 2);
  if (rest.empty() || rest == ".") return base;
  return base == "/" ? "/" + rest : base + "/" + rest;
}

LinuxSystemInfo::LinuxSystemInfo() : startFolder_(CurrentFolderAtStart()) {}

std::string LinuxSystemInfo::ComputerName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return "";
  return name;
}

std::string LinuxSystemInfo::ProgramPath() {
  char path[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  return std::string(path, static_cast<size_t>(n));
}

std::string LinuxSystemInfo::HomeFolder() {
  std::string home = Env("HOME");
  if (!home.empty()) return AbsolutePath(home);
  if (const passwd* pw = ::getpwuid(::getuid())) return AbsolutePath(pw->pw_dir);
  return "/";
}

std::string LinuxSystemInfo::DataHome() {
  std::string data = Env("XDG_DATA_HOME");
  return data.empty() ? HomeFolder() + "/.local/share" : AbsolutePath(data);
}

std::string LinuxSystemInfo::UserConfigHome() {
  std::string config = Env("XDG_CONFIG_HOME");
  return config.empty() ? HomeFolder() + "/.config" : AbsolutePath(config);
}

std::string LinuxSystemInfo::ConfigFolder() {
  std::string dir = Env("ZENTROVA_CONFIG_DIR");
  return dir.empty() ? UserConfigHome() + "/Kalvane Applications" : AbsolutePath(dir);
}

std::string LinuxSystemInfo::ControllerFolder() {
  std::string dir = Env("ZENTROVA_CONTROLLER_DIR");
  return dir.empty() ? "/var/opt/Halvorne" : AbsolutePath(dir);
}

}  // namespace zentrova
