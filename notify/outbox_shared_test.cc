// Outboxes under attack: a spool folder that two stations share.

#include <algorithm>
#include <filesystem>
#include <mutex>

#include <gtest/gtest.h>

#include "notify/outbox.h"
#include "notify/outbox_next_start.h"
#include "platform/linux_file_system.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::TempFolder;

std::vector<std::string> Messages(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name[0] != '.') names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

OutgoingMessage Text(const std::string& text) {
  OutgoingMessage m;
  m.text = text;
  m.body = "S1\n" + text;
  return m;
}

// Two stations started on one configuration folder count their spool
// files from the same number; neither may write over the other's message.
TEST(OutboxShared, TwoOutboxesOnOneFolderKeepEachOthersMessages) {
  TempFolder dir;
  LinuxFileSystem fs;
  FakeClock clock(1584259445);
  OutboxOptions o;
  o.folder = dir.Path("outbox");
  o.startNow = false;  // both servers away: nothing leaves
  auto never = [](const OutgoingMessage&) { return Attempt{Attempt::kFailed, "away"}; };
  Outbox first(fs, clock, "mail", "E-mail", o, never, nullptr);
  Outbox second(fs, clock, "mail", "E-mail", o, never, nullptr);
  EXPECT_TRUE(first.Submit(Text("from the first")));
  EXPECT_TRUE(second.Submit(Text("from the second")));
  EXPECT_TRUE(first.Submit(Text("first again")));
  first.Close(0);
  second.Close(0);
  EXPECT_EQ(Messages(o.folder).size(), 3u) << ::testing::PrintToString(Messages(o.folder));

  // The next start finds all three.
  std::vector<std::string> seen = testing::DeliveredAtTheNextStart(fs, clock, o);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"first again", "from the first", "from the second"}));
}

}  // namespace
}  // namespace zentrova
