// Spool files that no outbox wrote: larger than the spool may hold.

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "notify/mail_outbox.h"
#include "notify/outbox.h"
#include "notify/outbox_next_start.h"
#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

// A file far larger than the spool's bound (a sparse file of 2 GB under a
// spool name) is not read into memory: it is left as it is, with its
// reason, and the messages beside it go.
TEST(OutboxSpoolFiles, AFileLargerThanTheSpoolIsLeftUnread) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("outbox"));
  const std::string huge = dir.Path("outbox/mail-000000000001.msg");
  { std::ofstream(huge).put('z'); }
  ASSERT_EQ(::truncate(huge.c_str(), 2LL << 30), 0);
  dir.Write("outbox/mail-000000000002.msg", "zentrova-outbox=1\nkind=mail\ncreated=1584259445\ntext=beside\n");
  LinuxFileSystem fs;
  FakeClock clock(1584259445);
  std::vector<std::string> lines, seen;
  std::mutex mutex;
  OutboxOptions o;
  o.folder = dir.Path("outbox");
  o.log = [&](const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(line);
  };
  Outbox outbox(fs, clock, "mail", "E-mail", o,
                [&](const OutgoingMessage& m) {
                  std::lock_guard<std::mutex> lock(mutex);
                  seen.push_back(m.text);
                  return Attempt{Attempt::kDelivered, ""};
                },
                nullptr);
  ASSERT_TRUE(outbox.WaitIdle(5000));
  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_EQ(seen, std::vector<std::string>{"beside"});
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Outbox: " + huge + " is larger than the outbox may hold (2147483648 bytes); it is left as it is");
  EXPECT_TRUE(std::filesystem::exists(huge));
}

}  // namespace
}  // namespace zentrova

namespace zentrova {
namespace {

// Notes which program it was asked to run.
class NotingLauncher : public ProcessLauncher {
 public:
  bool Start(const std::string&, const std::vector<std::string>&) override { return true; }
  bool CanStart(const std::string&) override { return true; }
  int Run(const std::string& program, const std::vector<std::string>&, int, const std::atomic<bool>&,
          std::string&) override {
    std::lock_guard<std::mutex> lock(mutex);
    ran.push_back(program);
    return 0;
  }
  std::mutex mutex;
  std::vector<std::string> ran;
};

// A spool file names the program that sends it; one put there by other
// hands does not choose what the station runs: the station's own sender
// sends every message.
TEST(OutboxSpoolFiles, ASpoolFileDoesNotChooseTheProgramThatRuns) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("outbox"));
  dir.Write("outbox/mail-000000000001.msg",
            "zentrova-outbox=1\nkind=mail\ncreated=1584259445\ntext=planted\nsend=1\nprogram=/bin/sh\n");
  LinuxFileSystem fs;
  FakeClock clock(1584259445);
  MemoryStore product;
  NotingLauncher launcher;
  OutboxOptions o;
  o.folder = dir.Path("outbox");
  o.startNow = false;
  MailOutbox mail(product, launcher, 30000, 8, o, &fs, &clock);
  mail.SetSender("/opt/station/ZuveRadeRI.exe");
  mail.Submit({"T", "now", true, "/elsewhere/ZuveRadeRI.exe", {}, "now"});
  mail.Start();
  ASSERT_TRUE(mail.WaitIdle(5000));
  std::lock_guard<std::mutex> lock(launcher.mutex);
  EXPECT_EQ(launcher.ran, (std::vector<std::string>{"/opt/station/ZuveRadeRI.exe", "/opt/station/ZuveRadeRI.exe"}));
}

}  // namespace
}  // namespace zentrova

namespace zentrova {
namespace {

// A message larger than all the spool may hold would be left unread by the
// next start: it is kept in memory only, and the messages waiting on disk
// do not give way to it.
TEST(OutboxSpoolFiles, AMessageLargerThanTheSpoolDoesNotPushTheOthersOut) {
  testing::TempFolder dir;
  LinuxFileSystem fs;
  FakeClock clock(1584259445);
  std::vector<std::string> lines;
  std::mutex mutex;
  OutboxOptions o;
  o.folder = dir.Path("outbox");
  o.maxBytes = 2000;
  o.startNow = false;
  o.log = [&](const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(line);
  };
  Outbox outbox(fs, clock, "mail", "E-mail", o, [](const OutgoingMessage&) { return Attempt{Attempt::kFailed, "away"}; },
                nullptr);
  OutgoingMessage m;
  m.text = "small 1";
  EXPECT_TRUE(outbox.Submit(m));
  m.text = "small 2";
  EXPECT_TRUE(outbox.Submit(m));
  m.text = "big";
  m.body = std::string(5000, 'b');
  EXPECT_FALSE(outbox.Submit(m));
  EXPECT_EQ(outbox.Waiting(), 3u);
  EXPECT_EQ(outbox.Dropped(), 0u);
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(o.folder)) files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"mail-000000000001.msg", "mail-000000000002.msg"}));
  std::lock_guard<std::mutex> lock(mutex);
  ASSERT_EQ(lines.size(), 1u) << ::testing::PrintToString(lines);
  EXPECT_EQ(lines[0], "Outbox: E-mail \"big\" kept in memory only: larger than the outbox may hold (5112 bytes)");
}

}  // namespace
}  // namespace zentrova

namespace zentrova {
namespace {

// Past number 999999999999 the names grow by a digit. The next start reads
// them back and sends them after the shorter ones, by number, not by the
// order of their names.
TEST(OutboxSpoolFiles, NumbersPastTwelveDigitsAreReadBackInTheirOrder) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("outbox"));
  dir.Write("outbox/mail-999999999999.msg", "zentrova-outbox=1\nkind=mail\ncreated=1584259445\ntext=last of twelve\n");
  LinuxFileSystem fs;
  FakeClock clock(1584259445);
  OutboxOptions o;
  o.folder = dir.Path("outbox");
  o.startNow = false;  // a station stopped before it could send
  {
    Outbox first(fs, clock, "mail", "E-mail", o, [](const OutgoingMessage&) { return Attempt{}; }, nullptr);
    for (const char* text : {"first of thirteen", "second of thirteen"}) {
      OutgoingMessage m;
      m.text = text;
      EXPECT_TRUE(first.Submit(m));
    }
    first.Close(0);
  }
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(o.folder)) files.push_back(e.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"mail-1000000000000.msg", "mail-1000000000001.msg",
                                             "mail-999999999999.msg"}));

  EXPECT_EQ(testing::DeliveredAtTheNextStart(fs, clock, o),
            (std::vector<std::string>{"last of twelve", "first of thirteen", "second of thirteen"}));
  EXPECT_TRUE(std::filesystem::is_empty(o.folder));
}

// The names an outbox reads are the names it writes, however long.
TEST(OutboxSpoolFiles, OnlyTheNamesWrittenAreRead) {
  const struct {
    const char* name;
    std::optional<uint64_t> number;
  } cases[] = {
      {"mail-000000000001.msg", 1},
      {"mail-999999999999.msg", 999999999999u},
      {"mail-1000000000000.msg", 1000000000000u},
      {"mail-18446744073709551615.msg", 18446744073709551615u},
      {"mail-18446744073709551616.msg", std::nullopt},  // past the largest number
      {"mail-1.msg", std::nullopt},                     // not how 1 is written
      {"mail-0000000000001.msg", std::nullopt},
      {"mail-00000000000a.msg", std::nullopt},
      {"mail-.msg", std::nullopt},
      {"mail-000000000001.tmp", std::nullopt},
      {"form-000000000001.msg", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SpoolFileNumber("mail", c.name), c.number) << c.name;
    if (c.number) {
      EXPECT_EQ(SpoolFileName("mail", *c.number), c.name);
    }
  }
}

}  // namespace
}  // namespace zentrova
