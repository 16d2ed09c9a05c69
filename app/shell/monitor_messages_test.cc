// What the monitor tells the operator while it works, in the window: a
// message raised inside a step (a record too long for the import) neither
// waits for the operator nor stops the filing, in the timer's slices on the
// GUI thread and on the monitor thread; repeated, it stays one box that
// counts; and a stop from inside a step ends the cycle once.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>

#include "app/shell/standard_dialogs.h"
#include "app/shell/testing/desk_fixture.h"
#include "testing/mtneo_file.h"

namespace zentrova {
namespace {

using testing::Desk;
using testing::RegularFilesBelow;
using testing::TempFolder;
using testing::WaitUntil;
using testing::WriteRecords;
using testing::WriteStationConfig;

const std::string kTooLarge =
    " Number of samples is too large ! \n\n Data will be truncated. \n\n Change maximum samples by 'Option', "
    "'Dimension size' !";

// A three-component record with more frames than the import reads, put
// into the watched folder whole.
void PutLongMtNeo(TempFolder& dir, const std::string& name) {
  testing::MtNeoFile f;
  f.frames = 100001;
  dir.Write("staging-" + name, f.Build());
  std::filesystem::rename(dir.Path("staging-" + name), dir.Path("watched/" + name));
}

std::vector<QMessageBox*> OpenMessageBoxes() {
  std::vector<QMessageBox*> boxes;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box && box->isVisible() && box->windowTitle() == "Zentrova") boxes.push_back(box);
  }
  return boxes;
}

size_t RecordsIn(const std::string& folder) {
  size_t n = 0;
  for (const std::string& f : RegularFilesBelow(folder)) n += f.ends_with(".sg2") || f.ends_with(".mtn") ? 1 : 0;
  return n;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Five such records among three ordinary ones, the window's own message
// boxes, nobody answering: every record is filed while the boxes stay
// open, no modal loop ever runs, and one box says the message with its count.
void MessagesNeitherWaitNorPileUp(const std::string& mode) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n" + mode);
  Desk d(dir);
  d.Start();
  d.frame().RunCommand(kCmdShowWaveform);  // with a view open the records' samples are read
  const DialogProvider windows = StandardDialogs(nullptr);
  d.station->dialogs().message = windows.message;
  bool sawModal = false;
  QTimer watch;  // a modal box would wait for an operator: the test closes it
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      sawModal = true;
      modal->reject();
    }
  });
  watch.start(20);
  const int kLong = 5;
  for (int i = 0; i < kLong; ++i) PutLongMtNeo(dir, std::to_string(5000 + i) + ".mtn");
  ASSERT_EQ(WriteRecords(dir.Path("watched"), 3).exitCode, 0);
  ASSERT_TRUE(WaitUntil([&] { return RecordsIn(dir.Path("watched")) == 0; }, 60000)) << d.buffer.text();
  ASSERT_TRUE(WaitUntil([&] { return Count(d.buffer.text(), "[message]") == kLong; }, 5000)) << d.buffer.text();
  EXPECT_FALSE(sawModal);
  EXPECT_EQ(Count(d.buffer.text(), "[message] " + kTooLarge + "\n"), static_cast<size_t>(kLong));
  const std::vector<QMessageBox*> boxes = OpenMessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]->text().toStdString(), kTooLarge);
  EXPECT_EQ(boxes[0]->informativeText().toStdString(), "This message came 5 times.");
  EXPECT_EQ(d.station->station().form().bRunning, 1);
}

TEST(DesktopTimer, MessagesOfACycleStepNeitherWaitNorPileUp) { MessagesNeitherWaitNorPileUp(""); }

TEST(DesktopThread, MessagesOfTheMonitorThreadNeitherWaitNorPileUp) { MessagesNeitherWaitNorPileUp("bThread=1\n"); }

// The program closing from inside a step (a signal handled in an event
// loop the step ran): the step's record is filed and the cycle, which had
// taken a record before it, ends once, with both.
TEST(DesktopTimer, AStopDuringAStepEndsTheCycleOnce) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  ASSERT_EQ(WriteRecords(dir.Path("staging"), 1).exitCode, 0);
  Desk d(dir);
  d.Start();
  d.frame().RunCommand(kCmdShowWaveform);
  d.station->dialogs().message = [&d](const std::string&) { d.frame().ExitConfirmed(); };
  // No cycle runs between the two: the cycle runs on this thread.
  const std::string record = RegularFilesBelow(dir.Path("staging")).at(0);
  std::filesystem::rename(record, dir.Path("watched/1.sg2"));
  PutLongMtNeo(dir, "2.mtn");
  ASSERT_TRUE(WaitUntil([&] { return !d.frame().isVisible(); }, 20000)) << d.buffer.text();
  ASSERT_TRUE(WaitUntil([&] { return !d.station->cycle().UnderWay(); }, 5000));
  const std::string log = testing::ReadFileBytes(d.doc().activityLog.LogFile());
  EXPECT_EQ(Count(log, " new files."), 1u) << log;
  EXPECT_EQ(Count(log, "Found 2 new files."), 1u) << log;
  EXPECT_EQ(Count(log, "Zentrova was closed."), 1u) << log;
  EXPECT_EQ(d.station->cycle().CyclesEnded(), 1);
}

}  // namespace
}  // namespace zentrova
