#include "platform/process_launcher.h"

#include <spawn.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

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

pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // Each program in a session of its own, as a program started from the
  // desktop would be: a signal to the station's terminal does not reach it.
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t pid = -1;
  const int failed = ::posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ);
  ::posix_spawnattr_destroy(&attributes);
  return failed == 0 ? pid : -1;
}

}  // namespace

bool PosixLauncher::Start(const std::string& program, const std::vector<std::string>& arguments) {
  std::lock_guard<std::mutex> lock(g_mutex);
  CollectEnded();
  const pid_t pid = Spawn(program, arguments);
  if (pid <= 0) return false;
  g_started.push_back(pid);
  return true;
}

int PosixLauncher::Run(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
                       const std::atomic<bool>& stopWaiting) {
  const pid_t pid = Spawn(program, arguments);
  if (pid <= 0) return -1;
  int status = 0;
  for (int waited = 0;; waited += 20) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0) return -1;
    if (stopWaiting) {
      std::lock_guard<std::mutex> lock(g_mutex);
      g_started.push_back(pid);  // collected later, like any program started without waiting
      return -1;
    }
    if (waited >= timeoutMs) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    ::usleep(20000);
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace zentrova
