// The logic's message boxes from the monitor thread: shown later on the
// GUI thread, never waited for; questions asked only on the GUI thread.

#include <gtest/gtest.h>

#include <thread>

#include "app/shell/gui_prompt.h"
#include "app/shell/testing/desk_fixture.h"

namespace zentrova {
namespace {

TEST(DesktopThread, AnotherThreadsQuestionsAreNotAskedAndItsMessagesAreShownLaterOnTheGuiThread) {
  testing::Answers answers;
  answers.yes = true;
  answers.integer = 5;
  std::vector<std::thread::id> shownOn;
  DialogProvider dialogs = testing::Scripted(answers);
  dialogs.message = [&](const std::string& text) {
    answers.asked.push_back(text);
    shownOn.push_back(std::this_thread::get_id());
  };
  QObject context;
  GuiPrompt prompt(&context, dialogs);
  bool yes = true;
  bool ok = true;
  std::optional<int> integer;
  std::thread worker([&] {
    prompt.Show("No surface wave data.");
    yes = prompt.AskYesNo("Do you want to correct overlap ?");
    ok = prompt.AskOkCancel("Are you sure to shutdown?");
    integer = prompt.AskInteger("Enter data length in one file", 100);
  });
  worker.join();
  EXPECT_FALSE(yes);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(integer.has_value());
  EXPECT_TRUE(answers.asked.empty());  // nothing shown on the worker's thread
  ASSERT_TRUE(testing::WaitUntil([&] { return answers.asked.size() == 4; }, 2000));
  EXPECT_EQ(answers.asked, (std::vector<std::string>{"No surface wave data.", "Do you want to correct overlap ?",
                                                     "Are you sure to shutdown?", "Enter data length in one file"}));
  for (const std::thread::id& id : shownOn) EXPECT_EQ(id, std::this_thread::get_id());
  // On the GUI thread the question is asked.
  EXPECT_TRUE(prompt.AskYesNo("Are you sure to shutdown?"));
  EXPECT_EQ(prompt.AskInteger("Enter data length in one file", 100), 5);
}

}  // namespace
}  // namespace zentrova
