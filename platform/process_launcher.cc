#include "platform/process_launcher.h"

#include <fcntl.h>
#include <spawn.h>
#include <signal.h>
#include <string.h>
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

// `errorFd` >= 0: the child's standard error goes there. Returns the pid,
// or -1 with the reason in `error`.
pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments, int errorFd, int* error) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // Each program in a session of its own, as a program started from the
  // desktop would be: a signal to the station's terminal does not reach it.
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  if (errorFd >= 0) ::posix_spawn_file_actions_adddup2(&actions, errorFd, 2);
  pid_t pid = -1;
  const int failed = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  ::posix_spawnattr_destroy(&attributes);
  if (error) *error = failed;
  return failed == 0 ? pid : -1;
}

// Reads what is there without waiting; keeps the last 4 KiB or so.
void Drain(int fd, std::string& text) {
  char buffer[1024];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) return;
    // The last lines are kept: the verdict comes at the end.
    text.append(buffer, static_cast<size_t>(n));
    if (text.size() > 8192) text.erase(0, text.size() - 4096);
  }
}

// The last line that says something: where programs put their verdict.
std::string LastLine(const std::string& text) {
  std::string t = text;
  while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' ')) t.pop_back();
  const size_t cut = t.find_last_of('\n');
  return cut == std::string::npos ? t : t.substr(cut + 1);
}

}  // namespace

bool PosixLauncher::Start(const std::string& program, const std::vector<std::string>& arguments) {
  std::lock_guard<std::mutex> lock(g_mutex);
  CollectEnded();
  const pid_t pid = Spawn(program, arguments, -1, nullptr);
  if (pid <= 0) return false;
  g_started.push_back(pid);
  return true;
}

bool PosixLauncher::CanStart(const std::string& program) { return ::access(program.c_str(), X_OK) == 0; }

int PosixLauncher::Run(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
                       const std::atomic<bool>& stopWaiting, std::string& why) {
  why.clear();
  int pipeFds[2] = {-1, -1};
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) pipeFds[0] = pipeFds[1] = -1;
  int error = 0;
  const pid_t pid = Spawn(program, arguments, pipeFds[1], &error);
  if (pipeFds[1] >= 0) ::close(pipeFds[1]);
  if (pid <= 0) {
    if (pipeFds[0] >= 0) ::close(pipeFds[0]);
    why = "cannot start " + program + ": " + ::strerror(error);
    return -1;
  }
  std::string errors;
  int status = 0;
  int code = -1;
  for (int waited = 0;; waited += 20) {
    if (pipeFds[0] >= 0) Drain(pipeFds[0], errors);
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status)) {
        code = WEXITSTATUS(status);
      } else {
        why = program + " ended by signal " + std::to_string(WTERMSIG(status));
      }
      break;
    }
    if (done < 0) {
      why = "lost " + program;
      break;
    }
    if (stopWaiting || waited >= timeoutMs) {
      // Ended rather than left running: whatever it was doing is done
      // again later, not twice.
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      why = stopWaiting ? program + " was stopped" : program + " took too long and was ended";
      break;
    }
    ::usleep(20000);
  }
  if (pipeFds[0] >= 0) {
    Drain(pipeFds[0], errors);
    ::close(pipeFds[0]);
  }
  if (why.empty() && code != 0) why = LastLine(errors);
  if (why.empty() && code != 0) why = program + " exited with status " + std::to_string(code);
  return code;
}

}  // namespace zentrova
