#include "platform/process_launcher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <mutex>

extern char** environ;

namespace zentrova {
namespace {

// The station does not wait for what it starts; children that have ended
// are collected at the next start, so none lingers for long.
std::mutex g_mutex;
std::vector<pid_t> g_started;

void CollectEnded() {
  g_started.erase(std::remove_if(g_started.begin(), g_started.end(),
                                 [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; }),
                  g_started.end());
}

}  // namespace

bool PosixLauncher::Start(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::lock_guard<std::mutex> lock(g_mutex);
  CollectEnded();
  // Each program in a session of its own, as a program started from the
  // desktop would be: a signal to the station's terminal does not reach it.
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t pid = -1;
  const int failed = ::posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ);
  ::posix_spawnattr_destroy(&attributes);
  if (failed != 0) return false;
  g_started.push_back(pid);
  return true;
}

}  // namespace zentrova
