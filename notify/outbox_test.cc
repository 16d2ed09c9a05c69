// The outboxes with their spool on a real folder: real local servers that
// are down and come up, the real sender program, and a station's restart.

#include "notify/outbox.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "notify/form_outbox.h"
#include "notify/mail_outbox.h"
#include "notify/station_outboxes.h"
#include "platform/key_value_store.h"
#include "platform/linux_file_system.h"
#include "testing/local_servers.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::TempFolder;

// Log lines gathered from the outboxes' threads.
class Lines {
 public:
  std::function<void(const std::string&)> Sink() {
    return [this](const std::string& line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.push_back(line);
    };
  }
  std::vector<std::string> All() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  size_t Containing(const std::string& part) const {
    size_t n = 0;
    for (const auto& line : All()) n += line.find(part) != std::string::npos ? 1 : 0;
    return n;
  }
  bool WaitFor(const std::string& part, size_t count) const {
    for (int i = 0; i < 500; ++i) {
      if (Containing(part) >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

std::vector<std::string> SpoolFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = e.path().filename().string();
    if (name[0] != '.') names.push_back(name);  // not a rewrite under way
  }
  std::sort(names.begin(), names.end());
  return names;
}

int ModeOf(const std::string& path) {
  struct stat st = {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

OutboxOptions Quick(const std::string& folder, Lines& lines) {
  OutboxOptions o;
  o.folder = folder;
  o.firstPauseMs = 100;
  o.maxPauseMs = 400;
  o.log = lines.Sink();
  return o;
}

FormFields Fields(const std::string& message) { return {"S1", message, "12.6", "-1", "C", "50.000", "", "2:0:0:0"}; }

std::string ProductIni(const std::string& port) {
  return "[Kalvane Applications]\nSMTPServer=127.0.0.1\niPortNumber=" + port +
         "\nSenderEMailAddress=station@example.org\nReceiverEMailAddress=op@example.org\nSMTPUsername=\n"
         "SMTPPassword=\n";
}

// Messages queued while both servers are down reach them once they are up;
// meanwhile each waits in its own file (0600, in a 0700 folder), and its
// first failure is told once, its delivery after failures once.
TEST(Outbox, ServersDownWhenQueuedReceiveTheMessagesWhenUp) {
  TempFolder dir, smtpDir, httpDir;
  const std::string spool = dir.Path("outbox");
  const std::string smtpPort = testing::FreePort();
  const std::string httpPort = testing::FreePort();
  ASSERT_FALSE(smtpPort.empty());
  std::filesystem::create_directories(dir.Path("cfg"));
  dir.Write("cfg/product.ini", ProductIni(smtpPort));
  dir.Write("record.sg2", "record bytes");
  dir.Write("image.png", "image bytes");
  ::setenv("ZENTROVA_CONFIG_DIR", dir.Path("cfg").c_str(), 1);
  LinuxFileSystem fs;
  SystemClock clock;
  IniFileStore product(fs, dir.Path("cfg/product.ini"), "Kalvane Applications");
  PosixLauncher launcher;
  CurlHttpClient http(2, 5);
  Lines lines;
  {
    MailOutbox mail(product, launcher, 30000, 64, Quick(spool, lines), &fs, &clock);
    FormOutbox forms(http, 64, Quick(spool, lines), &fs, &clock);
    const std::string url = "http://127.0.0.1:" + httpPort + "/report_registration.php";
    for (const char* text : {"first", "second"}) {
      EXPECT_TRUE(mail.Submit({"Message from Zentrova at S1", std::string("S1\n") + text, true, ZENTROVA_SENDER,
                               {dir.Path("record.sg2"), dir.Path("image.png")}, text}));
      EXPECT_TRUE(forms.Submit(url, Fields(text)));
    }
    ASSERT_TRUE(lines.WaitFor("was not delivered, will try again", 4)) << ::testing::PrintToString(lines.All());
    EXPECT_EQ(lines.Containing("E-mail \"first\" was not delivered, will try again: ZuveRadeRI.exe: not sent: error 7"),
              1u)
        << ::testing::PrintToString(lines.All());
    EXPECT_EQ(lines.Containing("Report form \"second\" was not delivered, will try again: Could not connect to a "
                               "server. Error : 7"),
              1u);
    const auto files = SpoolFiles(spool);
    EXPECT_EQ(files, (std::vector<std::string>{"form-000000000001.msg", "form-000000000002.msg",
                                               "mail-000000000001.msg", "mail-000000000002.msg"}));
    EXPECT_EQ(ModeOf(spool), 0700);
    for (const auto& f : files) EXPECT_EQ(ModeOf(spool + "/" + f), 0600) << f;
    std::this_thread::sleep_for(std::chrono::milliseconds(600));  // a few more failed rounds, told once each
    EXPECT_EQ(lines.Containing("was not delivered"), 4u);
    // The image of the first message goes before the servers come back.
    std::filesystem::remove(dir.Path("image.png"));

    testing::LocalSmtpServer smtp(smtpDir, smtpPort);
    testing::LocalHttpServer server(httpDir, "", httpPort);
    ASSERT_FALSE(smtp.port.empty());
    ASSERT_TRUE(mail.WaitIdle(15000));
    ASSERT_TRUE(forms.WaitIdle(15000));
    EXPECT_EQ(mail.Sent(), 2u);
    EXPECT_EQ(forms.Posted(), 2u);
    EXPECT_TRUE(SpoolFiles(spool).empty()) << ::testing::PrintToString(SpoolFiles(spool));
    EXPECT_EQ(lines.Containing("was delivered after"), 4u) << ::testing::PrintToString(lines.All());
    const std::string record = server.Record();
    EXPECT_NE(record.find("message=first"), std::string::npos) << record;
    EXPECT_NE(record.find("message=second"), std::string::npos) << record;
    for (int i = 0; i < 100 && !std::filesystem::exists(smtpDir.Path("message-2.rcpt")); ++i) ::usleep(20000);
    // Each failed on its own schedule: the one tried first after the outage goes first.
    const int first = smtpDir.Read("message-1.eml").find("S1\r\nfirst") != std::string::npos ? 1 : 2;
    EXPECT_NE(smtpDir.Read("message-" + std::to_string(first) + ".eml").find("S1\r\nfirst"), std::string::npos);
    EXPECT_NE(smtpDir.Read("message-" + std::to_string(3 - first) + ".eml").find("S1\r\nsecond"), std::string::npos);
    for (int n : {1, 2}) {
      EXPECT_EQ(smtpDir.Read("message-" + std::to_string(n) + "-record.sg2"), "record bytes");
      // The image went while the message waited: sent without it.
      EXPECT_FALSE(std::filesystem::exists(smtpDir.Path("message-" + std::to_string(n) + "-image.png")));
    }
    mail.Close(0);
    forms.Close(0);
  }
  ::unsetenv("ZENTROVA_CONFIG_DIR");
}

// A delivery function that fails as long as told, on a fake wall clock.
struct Failing {
  std::atomic<bool> fail{true};
  std::atomic<int> tried{0};
  Attempt operator()(const OutgoingMessage&) {
    ++tried;
    return fail ? Attempt{Attempt::kFailed, "server away"} : Attempt{Attempt::kDelivered, ""};
  }
};

TEST(Outbox, AMessageTooOldIsGivenUpAndTheOldestGiveWayWhenFull) {
  TempFolder dir;
  LinuxFileSystem fs;
  FakeClock clock(1584259445);
  Lines lines;
  Failing deliver;
  OutboxOptions o = Quick(dir.Path("outbox"), lines);
  o.maxCount = 3;
  o.retryHours = 24;
  o.startNow = false;  // all five wait at once
  Outbox outbox(fs, clock, "mail", "E-mail", o, [&](const OutgoingMessage& m) { return deliver(m); }, nullptr);
  for (const char* text : {"m1", "m2", "m3", "m4", "m5"}) {
    OutgoingMessage m;
    m.text = text;
    m.title = "T";
    m.body = std::string("S1\n") + text;
    outbox.Submit(m);
  }
  EXPECT_EQ(lines.Containing("Outbox full: the oldest E-mail \"m1\" gave way"), 1u) << ::testing::PrintToString(lines.All());
  EXPECT_EQ(lines.Containing("Outbox full: the oldest E-mail \"m2\" gave way"), 1u);
  EXPECT_EQ(SpoolFiles(dir.Path("outbox")).size(), 3u);
  outbox.Start();
  ASSERT_TRUE(lines.WaitFor("was not delivered", 3));
  clock.Advance(25LL * 3600 * 1000);  // a day and an hour later, the next failure gives them up
  ASSERT_TRUE(lines.WaitFor("was given up after", 3)) << ::testing::PrintToString(lines.All());
  EXPECT_EQ(lines.Containing("E-mail \"m3\" was given up after "), 1u);
  EXPECT_NE(lines.All().back().find("in 24 hours: server away"), std::string::npos) << lines.All().back();
  EXPECT_EQ(outbox.GivenUp(), 3u);
  EXPECT_TRUE(SpoolFiles(dir.Path("outbox")).empty());
}

// A message ages on the steady clock: a wall clock set forward (the time
// served again after days without) gives up nothing. The time a message
// waited before a start counts from its stored creation time.
TEST(Outbox, AMessageAgesOnTheSteadyClock) {
  const struct {
    const char* what;
    bool leftByTheLastRun;  // made 23 hours before this start
    int64_t wallShiftSeconds;
    int64_t passingMs;
    bool givenUp;
  } cases[] = {
      {"new, the wall clock set two days forward", false, 48 * 3600, 0, false},
      {"new, the wall clock set a day back", false, -24 * 3600, 25LL * 3600 * 1000, true},
      {"new, a day and an hour pass", false, 0, 25LL * 3600 * 1000, true},
      {"left, nothing more", true, 0, 0, false},
      {"left, the wall clock set two days forward", true, 48 * 3600, 0, false},
      {"left, an hour and a minute pass", true, 0, 61LL * 60 * 1000, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder dir;
    LinuxFileSystem fs;
    FakeClock clock(1584259445);
    Lines lines;
    Failing deliver;
    OutboxOptions o = Quick(dir.Path("outbox"), lines);
    o.retryHours = 24;
    o.startNow = false;
    if (c.leftByTheLastRun) {
      std::filesystem::create_directories(dir.Path("outbox"));
      dir.Write("outbox/mail-000000000001.msg", "zentrova-outbox=1\nkind=mail\ncreated=" +
                                                    std::to_string(clock.Now() - 23 * 3600) + "\ntext=m\n");
    }
    Outbox outbox(fs, clock, "mail", "E-mail", o, [&](const OutgoingMessage& m) { return deliver(m); }, nullptr);
    if (!c.leftByTheLastRun) {
      OutgoingMessage m;
      m.text = "m";
      outbox.Submit(m);
    }
    clock.ShiftWall(c.wallShiftSeconds);
    clock.Advance(c.passingMs);
    outbox.Start();
    ASSERT_TRUE(lines.WaitFor("E-mail \"m\" was ", 1));
    EXPECT_EQ(lines.Containing("was given up after 1 attempts in 24 hours: server away"), c.givenUp ? 1u : 0u)
        << ::testing::PrintToString(lines.All());
    EXPECT_EQ(outbox.GivenUp(), c.givenUp ? 1u : 0u);
    outbox.Close(0);
  }
}

// What an earlier run left is sent first, in its order; a damaged file is
// left alone with one line, a write cut short by a crash is removed.
TEST(Outbox, WhatTheLastRunLeftGoesFirst) {
  TempFolder dir;
  LinuxFileSystem fs;
  FakeClock clock(1584259445);
  Lines lines;
  std::vector<std::string> seen;
  std::mutex mutex;
  auto record = [&](const OutgoingMessage& m) {
    std::lock_guard<std::mutex> lock(mutex);
    seen.push_back(m.text + "|" + std::to_string(m.attachments.size()));
    return Attempt{Attempt::kDelivered, ""};
  };
  {
    OutboxOptions o = Quick(dir.Path("outbox"), lines);
    o.startNow = false;  // a station stopped before it could send
    Outbox first(fs, clock, "mail", "E-mail", o, record, nullptr);
    OutgoingMessage m;
    m.text = "left 1";
    m.attachments = {"/data/a b;c.sg2", "/data/Waveform_7.png"};
    first.Submit(m);
    m.text = "left 2\nsecond line";
    m.attachments.clear();
    first.Submit(m);
    first.Close(0);
  }
  dir.Write("outbox/mail-000000000007.msg", "not a message");
  dir.Write("outbox/.mail-000000000008.msg.tmp", "zentrova-outbox=1\nkind=mail\n");
  OutboxOptions o = Quick(dir.Path("outbox"), lines);
  Outbox second(fs, clock, "mail", "E-mail", o, record, nullptr);
  OutgoingMessage m;
  m.text = "new";
  second.Submit(m);
  ASSERT_TRUE(second.WaitIdle(5000));
  EXPECT_EQ(seen, (std::vector<std::string>{"left 1|2", "left 2\nsecond line|0", "new|0"}));
  EXPECT_EQ(SpoolFiles(dir.Path("outbox")), std::vector<std::string>{"mail-000000000007.msg"});
  EXPECT_EQ(lines.Containing("mail-000000000007.msg cannot be read; it is left as it is"), 1u)
      << ::testing::PrintToString(lines.All());
}

// A sender that cannot be started delivers nothing: the message stays,
// the reason is told, and nothing counts as sent.
TEST(Outbox, ASenderThatCannotStartSendsNothing) {
  TempFolder dir;
  dir.Write("ZuveRadeRI.exe", "#!/bin/sh\nexit 0\n");  // not executable
  ::chmod(dir.Path("ZuveRadeRI.exe").c_str(), 0644);
  LinuxFileSystem fs;
  SystemClock clock;
  MemoryStore product;
  PosixLauncher launcher;
  Lines lines;
  MailOutbox mail(product, launcher, 30000, 64, Quick(dir.Path("outbox"), lines), &fs, &clock);
  EXPECT_FALSE(launcher.CanStart(dir.Path("ZuveRadeRI.exe")));
  mail.Submit({"T", "S1\nReport", true, dir.Path("ZuveRadeRI.exe"), {}, "Report"});
  ASSERT_TRUE(lines.WaitFor("was not delivered", 1));
  EXPECT_EQ(lines.Containing("E-mail \"Report\" was not delivered, will try again: cannot start " +
                             dir.Path("ZuveRadeRI.exe") + ": Permission denied"),
            1u)
      << ::testing::PrintToString(lines.All());
  EXPECT_EQ(mail.Sent(), 0u);
  EXPECT_EQ(SpoolFiles(dir.Path("outbox")).size(), 1u);
  mail.Close(0);
}

TEST(Outbox, TheRetryHoursSettingKeepsItsRange) {
  struct Case {
    std::optional<std::string> stored;
    int used;
    std::string note;
  };
  const Case cases[] = {
      {std::nullopt, 24, ""},
      {"48", 48, ""},
      {"720", 720, ""},
      {"0", 1, "iOutboxRetryHours=0 is out of range (1 to 720); 1 is used"},
      {"99999", 720, "iOutboxRetryHours=99999 is out of range (1 to 720); 720 is used"},
      {"abc", 24, "iOutboxRetryHours=abc is not a number; 24 is used"},
      {"", 24, "iOutboxRetryHours= is not a number; 24 is used"},
  };
  LinuxFileSystem fs;
  for (const Case& c : cases) {
    MemoryStore profile;
    if (c.stored) profile.values["iOutboxRetryHours"] = *c.stored;
    const OutboxOptions told = StationOutboxOptions(profile, fs, "/cfg", nullptr, true);
    EXPECT_EQ(told.retryHours, c.used) << c.stored.value_or("(absent)");
    EXPECT_EQ(told.notes, c.note.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.note});
    EXPECT_EQ(told.folder, "/cfg/outbox");
    EXPECT_TRUE(StationOutboxOptions(profile, fs, "/cfg", nullptr, false).notes.empty());  // told once
  }
}

}  // namespace
}  // namespace zentrova
