#include "notify/mail_outbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform/forwarding_file_system.h"
#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

// A sender that notes the message it would find in the product key, and
// takes its time.
class SlowSender : public ProcessLauncher {
 public:
  explicit SlowSender(KeyValueStore& product) : product_(product) {}
  bool Start(const std::string&, const std::vector<std::string>&) override { return true; }
  bool CanStart(const std::string&) override { return true; }
  int Run(const std::string&, const std::vector<std::string>& arguments, int, const std::atomic<bool>& stop,
          std::string&) override {
    seen.push_back(product_.Get("stMessaggeTitle").value_or("") + "|" + product_.Get("MessageToBeSent").value_or("") +
                   "|" + std::to_string(arguments.size()));
    for (int i = 0; i < pauseMs / 10 && !stop; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return stop ? -1 : 0;
  }
  std::vector<std::string> seen;
  int pauseMs = 50;

 private:
  KeyValueStore& product_;
};

TEST(MailOutbox, EachSenderFindsItsOwnMessage) {
  MemoryStore product;
  SlowSender sender(product);
  MailOutbox outbox(product, sender);
  outbox.Submit({"T1", "first", true, "/p/ZuveRadeRI.exe", {"/a"}, ""});
  outbox.Submit({"T2", "second", false, "/p/ZuveRadeRI.exe", {}, ""});  // key only, no sender
  outbox.Submit({"T3", "third", true, "/p/ZuveRadeRI.exe", {"/a", "/b c;d"}, ""});
  ASSERT_TRUE(outbox.WaitIdle(5000));
  EXPECT_EQ(sender.seen, (std::vector<std::string>{"T1|first|1", "T3|third|2"}));
  EXPECT_EQ(product.values["MessageToBeSent"], "third");
  EXPECT_EQ(outbox.Sent(), 2u);
}

// Reads fail while `failing` is set, as with too many open files in the
// station while the sender, a process of its own, still reads the file.
class FailingReads : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  StatusOr<std::unique_ptr<RandomAccessFile>> OpenForRead(const std::string& p) override {
    if (failing) return Status::IoError("cannot open " + p + ": Too many open files");
    return ForwardingFileSystem::OpenForRead(p);
  }
  bool failing = false;
};

TEST(MailOutbox, NoSenderFindsAnEarlierMessage) {
  testing::TempFolder dir;
  dir.Write("product.ini", "[Kalvane Applications]\nSMTPServer=mail.example.org\n");
  LinuxFileSystem real;
  FailingReads fs(real);
  IniFileStore product(fs, dir.Path("product.ini"), "Kalvane Applications");
  IniFileStore sendersView(real, dir.Path("product.ini"), "Kalvane Applications");
  SlowSender sender(sendersView);
  MailOutbox outbox(product, sender);
  outbox.Submit({"T1", "Zentrova started.", true, "/p/ZuveRadeRI.exe", {}, ""});
  ASSERT_TRUE(outbox.WaitIdle(5000));
  fs.failing = true;
  outbox.Submit({"T2", "Warning ! Battery voltage is less than 10.5 V. PC will be shoutdown.", true,
                 "/p/ZuveRadeRI.exe", {}, ""});
  outbox.WaitIdle(300);  // its attempt fails; it then waits for a retry
  fs.failing = false;
  outbox.Submit({"T3", "System shutdown.", true, "/p/ZuveRadeRI.exe", {}, ""});
  ASSERT_TRUE(outbox.WaitIdle(20000));
  // The message that could not be stored waits for its retry; no sender
  // ever finds the text of another message under its title.
  ASSERT_GE(sender.seen.size(), 2u);
  EXPECT_EQ(sender.seen[0], "T1|Zentrova started.|0");
  EXPECT_EQ(sender.seen[1], "T3|System shutdown.|0");
  for (const std::string& seen : sender.seen) {
    EXPECT_TRUE(seen == "T1|Zentrova started.|0" || seen == "T3|System shutdown.|0" ||
                seen == "T2|Warning ! Battery voltage is less than 10.5 V. PC will be shoutdown.|0")
        << seen;
  }
}

// A spool file names the files its e-mail carries. Only those below the
// destination folder go, whatever way the path takes; the others are left
// out, each with a line, and the message goes all the same.
TEST(MailOutbox, AttachmentsComeOnlyFromTheDestinationFolder) {
  testing::TempFolder dir;
  std::filesystem::create_directories(dir.Path("dest/EventImage"));
  std::filesystem::create_directories(dir.Path("dest/WaveformFiles/2020"));
  dir.Write("dest/EventImage/Waveform_7.png", "picture");
  dir.Write("dest/WaveformFiles/2020/7.dat", "record");
  dir.Write("private.txt", "private");
  std::filesystem::create_directory_symlink(dir.path(), dir.Path("dest/EventImage/up"));
  std::filesystem::create_symlink(dir.Path("private.txt"), dir.Path("dest/EventImage/Waveform_8.png"));
  const struct {
    std::string path;
    bool taken;
  } cases[] = {
      {dir.Path("dest/EventImage/Waveform_7.png"), true},
      {dir.Path("dest/WaveformFiles/2020/7.dat"), true},
      {dir.Path("dest//WaveformFiles/2020/7.dat"), true},
      {dir.Path("private.txt"), false},
      {dir.Path("dest/../private.txt"), false},
      {dir.Path("dest/EventImage/./Waveform_7.png"), false},
      {dir.Path("dest/EventImage/up/private.txt"), false},   // through a link in the tree
      {dir.Path("dest/EventImage/Waveform_8.png"), false},  // a link to a file elsewhere
      {dir.Path("dest-other/x.dat"), false},
      {"private.txt", false},
      {dir.Path("dest"), false},
  };
  std::string planted = "zentrova-outbox=1\nkind=mail\ncreated=1584259445\ntext=planted\nsend=1\n";
  std::vector<std::string> taken;
  for (const auto& c : cases) {
    planted += "attachment=" + c.path + "\n";
    if (c.taken) taken.push_back(c.path);
  }
  std::filesystem::create_directories(dir.Path("outbox"));
  dir.Write("outbox/mail-000000000001.msg", planted);
  LinuxFileSystem fs;
  FakeClock clock(1584259445);
  MemoryStore product;
  RecordingLauncher launcher;
  std::vector<std::string> lines;
  std::mutex mutex;
  OutboxOptions o;
  o.folder = dir.Path("outbox");
  o.startNow = false;
  o.log = [&](const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex);
    if (line.find("attachment") != std::string::npos) lines.push_back(line);
  };
  MailOutbox mail(product, launcher, 30000, 8, o, &fs, &clock);
  mail.AllowAttachmentsBelow(dir.Path("dest"));
  mail.Start();
  ASSERT_TRUE(mail.WaitIdle(5000));
  EXPECT_EQ(mail.Sent(), 1u);
  std::lock_guard<std::mutex> lock(mutex);
  ASSERT_EQ(launcher.calls.size(), 1u);
  EXPECT_EQ(launcher.calls[0].arguments, taken);
  std::vector<std::string> told;
  for (const auto& c : cases) {
    if (!c.taken) {
      told.push_back("E-mail \"planted\": the attachment " + c.path +
                     " is not in the destination folder; the message goes without it");
    }
  }
  EXPECT_EQ(lines, told);
}

// A mail the station tells of keeps that wish in its spool file: delivered
// by the next start, it is told then; the others are not.
TEST(MailOutbox, ADeliveryLeftForTheNextStartIsToldThen) {
  testing::TempFolder dir;
  LinuxFileSystem fs;
  FakeClock clock(1584259445);
  MemoryStore product;
  RecordingLauncher launcher;
  std::vector<std::string> lines;
  std::mutex mutex;
  OutboxOptions o;
  o.folder = dir.Path("outbox");
  o.startNow = false;  // stopped before the sender could run
  o.log = [&](const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(line);
  };
  {
    MailOutbox first(product, launcher, 30000, 8, o, &fs, &clock);
    first.Submit({"T", "S1\nZentrova started.", true, "/p/ZuveRadeRI.exe", {}, "Zentrova started."});
    first.Submit({"T", "S1\n1 events were detected in 7", true, "/p/ZuveRadeRI.exe", {}, "1 events were detected in 7",
                  true});
    first.Close(0);
  }
  EXPECT_TRUE(lines.empty());
  MailOutbox next(product, launcher, 30000, 8, o, &fs, &clock);
  next.Start();
  ASSERT_TRUE(next.WaitIdle(5000));
  EXPECT_EQ(next.Sent(), 2u);
  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_EQ(lines, std::vector<std::string>{"Mail was sent"});
}

TEST(MailOutbox, ClosingDoesNotWaitForAHangingSender) {
  MemoryStore product;
  SlowSender sender(product);
  sender.pauseMs = 60000;
  MailOutbox outbox(product, sender);
  outbox.Submit({"T", "stuck", true, "/p/ZuveRadeRI.exe", {}, ""});
  outbox.Submit({"T", "never", true, "/p/ZuveRadeRI.exe", {}, ""});
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const auto start = std::chrono::steady_clock::now();
  outbox.Close(200);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(sender.seen.size(), 1u);
  // Without a spool both are lost: the one cut off and the one never tried.
  EXPECT_EQ(outbox.Dropped(), 2u);
}

}  // namespace
}  // namespace zentrova
