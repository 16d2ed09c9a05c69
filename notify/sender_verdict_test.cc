// The reason a sender gives is its last line, however much it said before.

#include <atomic>

#include <gtest/gtest.h>

#include "platform/process_launcher.h"

namespace zentrova {
namespace {

TEST(SenderVerdict, TheLastLineIsTheReasonAfterALongTalk) {
  PosixLauncher launcher;
  std::atomic<bool> stop{false};
  std::string why;
  // A thousand lines about attachments left out (60 KB), then the verdict.
  const int code = launcher.Run("/bin/sh",
                                {"-c",
                                 "i=0; while [ $i -lt 1000 ]; do echo \"ZuveRadeRI.exe: attachment not found, sent "
                                 "without it: /data/$i\" >&2; i=$((i+1)); done; echo 'ZuveRadeRI.exe: not sent: "
                                 "error 7: Couldn'\"'\"'t connect to server' >&2; exit 1"},
                                20000, stop, why);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(why, "ZuveRadeRI.exe: not sent: error 7: Couldn't connect to server");
}

}  // namespace
}  // namespace zentrova
