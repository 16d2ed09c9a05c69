#include "platform/process_table.h"

#include <dirent.h>
#include <limits.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zentrova {
namespace {

bool IsNumber(const char* s) {
  if (*s == '\0') return false;
  for (; *s; ++s) {
    if (!std::isdigit(static_cast<unsigned char>(*s))) return false;
  }
  return true;
}

std::string BaseName(std::string path) {
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
    path.resize(path.size() - deleted.size());
  }
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A process that has ended but was not yet collected by its parent runs no
// more; its name would still be listed.
bool IsZombie(const std::string& pid) {
  std::unique_ptr<FILE, int (*)(FILE*)> stat(std::fopen(("/proc/" + pid + "/stat").c_str(), "r"), std::fclose);
  char line[512] = {};
  if (!stat || !std::fgets(line, sizeof line, stat.get())) return false;
  const char* close = std::strrchr(line, ')');  // the name may hold blanks and ')'
  return close && close[1] == ' ' && (close[2] == 'Z' || close[2] == 'X');
}

std::string ProgramName(const std::string& pid) {
  char target[PATH_MAX];
  const std::string exe = "/proc/" + pid + "/exe";
  const ssize_t n = ::readlink(exe.c_str(), target, sizeof target - 1);
  if (n > 0) return BaseName(std::string(target, static_cast<size_t>(n)));
  std::unique_ptr<FILE, int (*)(FILE*)> comm(std::fopen(("/proc/" + pid + "/comm").c_str(), "r"), std::fclose);
  char name[64] = {};
  if (comm && std::fgets(name, sizeof name, comm.get())) {
    std::string s(name);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    if (!s.empty()) return s;
  }
  return "<unknown>";
}

}  // namespace

std::optional<std::vector<std::string>> LinuxProcessTable::ProgramNames() {
  std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), ::closedir);
  if (!proc) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(proc.get())) {
    if (!IsNumber(entry->d_name) || IsZombie(entry->d_name)) continue;
    names.push_back(ProgramName(entry->d_name));
  }
  return names;
}

}  // namespace zentrova
