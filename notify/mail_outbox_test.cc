#include "notify/mail_outbox.h"

#include <gtest/gtest.h>

#include <chrono>
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
