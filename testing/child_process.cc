#include "testing/child_process.h"

#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zentrova::testing {

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingFolder) {
  ProcessResult result;
  int out[2], err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int rc = ::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  if (rc == 0) {
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0 && ::poll(fds, 2, 60000) > 0) {
      for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
        char buf[65536];
        ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
        if (n > 0) {
          sinks[i]->append(buf, static_cast<size_t>(n));
        } else {
          fds[i].fd = -1;
          --open;
        }
      }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  }
  ::close(out[0]);
  ::close(err[0]);
  return result;
}

}  // namespace zentrova::testing

#include <fcntl.h>
#include <signal.h>

namespace zentrova::testing {

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv, const std::string& outputFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
}

BackgroundProcess::~BackgroundProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    Wait();
  }
}

void BackgroundProcess::Signal(int signal) {
  if (pid_ > 0) ::kill(pid_, signal);
}

bool BackgroundProcess::EndsWithin(int timeoutMs) {
  for (int waited = 0; pid_ > 0; waited += 10) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    if (waited >= timeoutMs) return false;
    ::usleep(10000);
  }
  return true;
}

int BackgroundProcess::Wait() {
  if (pid_ <= 0) return exitCode_;
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return exitCode_;
}

}  // namespace zentrova::testing
