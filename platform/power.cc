#include "platform/power.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace zentrova {

void SystemPower::PowerOff() {
  char program[] = "systemctl";
  char verb[] = "poweroff";
  char* argv[] = {program, verb, nullptr};
  pid_t pid = -1;
  if (::posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return;
  int status = 0;
  ::waitpid(pid, &status, 0);
}

}  // namespace zentrova
