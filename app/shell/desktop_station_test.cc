// The desktop station in its window on the offscreen platform: the
// start-up, commands through the menus, the status buttons, the routing
// while a view is active, the views across a restart and the exit.

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollArea>
#include <QTimer>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/shell/testing/desk_fixture.h"
#include "app/shell/testing/stub_views.h"

namespace zentrova {
namespace {

using testing::Desk;
using testing::TempFolder;
using testing::WaitUntil;
using testing::WriteRecords;
using testing::WriteStationConfig;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The lines of the log pane, in order.
std::vector<std::string> PaneLines(Desk& d) {
  std::vector<std::string> lines;
  std::stringstream s(d.Pane());
  for (std::string line; std::getline(s, line);) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void Trigger(Desk& d, int menu, int id) {
  QAction* a = d.frame().MenuAction(menu, id);
  ASSERT_NE(a, nullptr) << id;
  d.frame().UpdateCommandUi();
  a->trigger();
}

TEST(DesktopStation, StartUpSequenceLogsTheIntervalTheFoldersAndStartsMonitoring) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\nbEventDetection=1\nbConcatenate=1\n");
  Desk d(dir);
  d.Start();
  const std::vector<std::string> lines = PaneLines(d);
  const std::vector<std::string> expected = {"Monitor interval is 0.50 sec",
                                             "Folder path is " + dir.Path("watched"),
                                             "Destination folder path is " + dir.Path("dest"),
                                             "Monitor started by timer",
                                             "Event detection active",
                                             "Automatic concatenatenation is on"};
  // The start-up's own lines (settings notes may stand before them).
  auto first = std::find(lines.begin(), lines.end(), expected.front());
  ASSERT_NE(first, lines.end()) << d.Pane();
  EXPECT_EQ(std::vector<std::string>(first, first + static_cast<long>(std::min<size_t>(expected.size(),
                                                                                     lines.end() - first))),
            expected);
  EXPECT_EQ(d.station->station().form().bRunning, 1);
  EXPECT_EQ(d.frame().windowTitle(), "Zentrova");
  EXPECT_EQ(d.frame().ShownMenu(), 130);
  // The frame of the panel: at the top left, at most 1200 x 450.
  const QRect frame = d.frame().panelWindow()->geometry();
  EXPECT_EQ(frame.topLeft(), QPoint(0, 0));
  EXPECT_LE(frame.width(), 1200);
  EXPECT_LE(frame.height(), 450);
  EXPECT_EQ(d.frame().panel()->field(1018)->text().toStdString(), dir.Path("watched"));
  EXPECT_EQ(d.frame().panel()->field(1025)->text().toStdString(), "SITE");
  EXPECT_TRUE(d.frame().panel()->field(1018)->isReadOnly());
}

// What a menu shows, "-" for a separator, "name>" for a submenu.
std::vector<std::string> Shown(QMenu* menu) {
  std::vector<std::string> items;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) {
      items.push_back("-");
    } else {
      items.push_back(a->text().toStdString() + (a->menu() ? ">" : ""));
    }
  }
  return items;
}

TEST(DesktopStation, TheControlPanelsMenuBarShowsItsMenusWithTheirSeparators) {
  TempFolder dir;
  WriteStationConfig(dir);
  Desk d(dir);
  d.Start();
  std::vector<std::string> top;
  QMenu* monitor = nullptr;
  for (QAction* a : d.frame().menuBar()->actions()) {
    top.push_back(a->text().toStdString());
    if (a->text() == "&Monitor") monitor = a->menu();
  }
  EXPECT_EQ(top, (std::vector<std::string>{"&File", "&View", "&Monitor", "&Event detection", "&System", "&Options",
                                           "&Window", "&Help"}));
  ASSERT_NE(monitor, nullptr);
  // Every item with a mnemonic of its own (Alt and the underlined letter).
  EXPECT_EQ(Shown(monitor),
            (std::vector<std::string>{"&Start", "S&top", "-", "&Intervals>", "-", "&Auto start",
                                      "Auto start Tarnlink &Controller (TC)", "C&oncatenate", "&Move to folder",
                                      "&Upload waveform file", "-", "Send &report", "Send &warning", "-",
                                      "&Processing>"}));
  EXPECT_EQ(d.frame().MenuAction(130, kCmdServerUrl)->text().toStdString(), "Server's &URL ");
  EXPECT_EQ(d.frame().MenuAction(128, kCmdFileNew)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
}

TEST(DesktopStation, TogglesThroughTheMenuWriteTheirSettings) {
  TempFolder dir;
  WriteStationConfig(dir);
  Desk d(dir);
  d.Start();
  Trigger(d, 130, kCmdMoveToFolder);
  EXPECT_NE(d.Ini().find("bMoveToFolder=0"), std::string::npos) << d.Ini();
  EXPECT_EQ(PaneLines(d).back(), "Automatic file move is off");
  Trigger(d, 130, kCmdMoveToFolder);
  EXPECT_NE(d.Ini().find("bMoveToFolder=1"), std::string::npos);
  EXPECT_EQ(PaneLines(d).back(), "Automatic file move is on");
  EXPECT_TRUE(d.frame().MenuAction(130, kCmdMoveToFolder)->isChecked());
  Trigger(d, 130, kCmdPickMaximumAmplitude);
  EXPECT_NE(d.Ini().find("bPickMaximumAmplitude=1"), std::string::npos);
  Trigger(d, 130, kCmdVariableFileSize);
  EXPECT_NE(d.Ini().find("bVariableFileSize=1"), std::string::npos);
  Trigger(d, 130, kCmdUseLocalServer);
  EXPECT_NE(d.Ini().find("bUseLocalServer=1"), std::string::npos);
  d.frame().UpdateCommandUi();
  EXPECT_TRUE(d.frame().MenuAction(130, kCmdUseLocalServer)->isChecked());
  // Thread: switched while stopped, greyed while monitoring runs.
  Trigger(d, 130, kCmdThread);
  EXPECT_NE(d.Ini().find("bThread=1"), std::string::npos);
  Trigger(d, 130, kCmdThread);
  Trigger(d, 130, kCmdStart);
  d.frame().UpdateCommandUi();
  EXPECT_FALSE(d.frame().MenuAction(130, kCmdThread)->isEnabled());
  EXPECT_FALSE(d.frame().MenuAction(130, kCmdStart)->isEnabled());
  d.frame().MenuAction(130, kCmdThread)->trigger();
  EXPECT_NE(d.Ini().find("bThread=0"), std::string::npos);
  // Interval: the current item is checked and greyed.
  Trigger(d, 130, kCmdInterval2);
  EXPECT_NE(d.Ini().find("iInterval=2"), std::string::npos);
  d.frame().UpdateCommandUi();
  EXPECT_TRUE(d.frame().MenuAction(130, kCmdInterval2)->isChecked());
  EXPECT_FALSE(d.frame().MenuAction(130, kCmdInterval2)->isEnabled());
  const std::vector<std::string> lines = PaneLines(d);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            (std::vector<std::string>{"Monitor interval is 2.00 sec", "Monitor stopped", "Monitor started by timer"}));
}

TEST(DesktopStation, ConcatenateAsksTheLengthAndACancelChangesNothing) {
  TempFolder dir;
  WriteStationConfig(dir);
  Desk d(dir);
  d.Start();
  const std::string before = d.Ini();
  const size_t lines = PaneLines(d).size();
  d.answers.integer.reset();  // Cancel
  Trigger(d, 130, kCmdConcatenate);
  EXPECT_EQ(d.answers.asked.back(), "Enter data length in one file");
  EXPECT_EQ(d.Ini(), before);
  EXPECT_EQ(PaneLines(d).size(), lines);
  d.answers.integer = 3000;
  Trigger(d, 130, kCmdConcatenate);
  EXPECT_NE(d.Ini().find("bConcatenate=1"), std::string::npos);
  EXPECT_NE(d.Ini().find("nDataConcatenate=3000"), std::string::npos);
  EXPECT_EQ(PaneLines(d).back(), "Automatic concatenatenation is on");
  EXPECT_EQ(d.frame().panel()->button(5)->face().caption, "Concatenation : ON (3000)");
  // Off without a question.
  d.answers.asked.clear();
  Trigger(d, 130, kCmdConcatenate);
  EXPECT_TRUE(d.answers.asked.empty());
  EXPECT_NE(d.Ini().find("bConcatenate=0"), std::string::npos);
  EXPECT_EQ(PaneLines(d).back(), "Automatic concatenatenation is off");
}

TEST(DesktopStation, SendWarningKeepsItsDialogUntilTheThresholdsReadAsNumbers) {
  TempFolder dir;
  WriteStationConfig(dir);
  Desk d(dir);
  d.Start();
  d.answers.integer = 7;
  std::vector<std::string> prompts;
  // The operator types a word, is told, then cancels: nothing is switched on.
  d.answers.thresholds = [&prompts](CDlgBatteryWarning& dlg) {
    dlg.sWarning = "eleven";
    const CDlgBatteryWarning::Outcome o = dlg.OnOK();
    if (!o.accepted) prompts.push_back(o.prompt);
    return false;
  };
  Trigger(d, 130, kCmdSendWarning);
  EXPECT_EQ(prompts, std::vector<std::string>{"Enter a number."});
  EXPECT_EQ(d.doc().bWarning, 0);
  EXPECT_EQ(d.frame().panel()->button(6)->face().caption, "Start warning");
  // Then numbers, and OK.
  d.answers.thresholds = [](CDlgBatteryWarning& dlg) {
    dlg.sWarning = "11.5";
    dlg.sShutdown = "10.2";
    return dlg.OnOK().accepted;
  };
  Trigger(d, 130, kCmdSendWarning);
  EXPECT_EQ(d.doc().bWarning, 1);
  EXPECT_TRUE(d.station->station().form().BatteryTimerRunning());
  EXPECT_EQ(d.frame().panel()->button(6)->face().caption, "Warning : ON (7 min, 11.5 V, 10.2V)");
}

TEST(DesktopStation, FolderCommandsAskWhetherToKeepTheFolderThenBrowse) {
  TempFolder dir;
  WriteStationConfig(dir);
  std::filesystem::create_directories(dir.Path("other"));
  Desk d(dir);
  d.Start();
  d.answers.yes = true;
  Trigger(d, 130, kCmdFolderOriginal);
  EXPECT_EQ(d.answers.asked.back(), " Current folder is " + dir.Path("watched") + " \n\n Do you want to use this folder?");
  EXPECT_EQ(d.doc().settingsBlock.strWatchedFolder, dir.Path("watched"));
  d.answers.yes = false;
  d.answers.folder.reset();  // the browser cancelled
  Trigger(d, 130, kCmdFolderOriginal);
  EXPECT_EQ(d.answers.asked.back(), "Select a folder");
  EXPECT_EQ(d.doc().settingsBlock.strWatchedFolder, dir.Path("watched"));
  d.answers.folder = dir.Path("other");
  Trigger(d, 130, kCmdFolderOriginal);
  EXPECT_EQ(d.doc().settingsBlock.strWatchedFolder, dir.Path("other"));
  EXPECT_NE(d.Ini().find("ZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("other")), std::string::npos);
  EXPECT_EQ(PaneLines(d).back(), "Folder path is changed to " + dir.Path("other"));
  EXPECT_EQ(d.frame().panel()->field(1018)->text().toStdString(), dir.Path("other"));
  Trigger(d, 130, kCmdFolderDestination);
  EXPECT_EQ(d.answers.asked[d.answers.asked.size() - 2],
            " Current destination folder is " + dir.Path("dest") + " \n\n Do you want to use this folder?");
  EXPECT_EQ(d.answers.asked.back(), "Select Folder");
  EXPECT_EQ(PaneLines(d).back(), "Destination folder path is changed to " + dir.Path("other"));
  // The toolbar's folder button runs the same command.
  d.answers.yes = true;
  d.answers.asked.clear();
  d.frame().ToolbarAction(kCmdFolderOriginal)->trigger();
  ASSERT_EQ(d.answers.asked.size(), 1u);
  // Site name.
  d.answers.text = "NORTH";
  Trigger(d, 130, kCmdSiteName);
  EXPECT_EQ(d.answers.asked.back(), "Site name");
  EXPECT_NE(d.Ini().find("sMyName=NORTH"), std::string::npos);
  EXPECT_EQ(d.frame().panel()->field(1025)->text().toStdString(), "NORTH");
}

QRgb PixelOf(QWidget* w, int x, int y) { return w->grab().toImage().pixel(x, y); }

bool HasBlackIn(QWidget* w, const QRect& r) {
  const QImage img = w->grab().toImage();
  for (int y = r.top(); y <= r.bottom() && y < img.height(); ++y) {
    for (int x = r.left(); x <= r.right() && x < img.width(); ++x) {
      if (qGray(img.pixel(x, y)) < 60) return true;
    }
  }
  return false;
}

TEST(DesktopStation, StatusButtonsArePaintedGreenWhenOnAndRedWhenOffWithTheirCaptions) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=0\n");
  Desk d(dir);
  d.Start();
  ControlPanel* panel = d.frame().panel();
  const char* offCaptions[kStatusSlots] = {"Start monitor", "Start sending report", "Set auto start",
                                           "Set auto start TC", "Move to folder : ON", "Start concatenating",
                                           "Start warning", "Start upload"};
  const int controls[kStatusSlots] = {1012, 1013, 1014, 1015, 1016, 1017, 1700, 1021};
  for (int slot = 0; slot < kStatusSlots; ++slot) {
    StatusButton* b = panel->button(slot);
    EXPECT_EQ(b->objectName().toInt(), controls[slot]);
    EXPECT_EQ(b->face().caption, offCaptions[slot]) << slot;
    const QRgb expected = slot == 4 ? qRgb(0, 255, 0) : qRgb(255, 0, 0);  // filing is on in the configuration
    EXPECT_EQ(PixelOf(b, 4, b->height() - 4), expected) << slot;
    EXPECT_EQ(PixelOf(b, b->width() - 6, b->height() / 2), expected) << slot;
    EXPECT_TRUE(HasBlackIn(b, QRect(10, 10, 60, b->height() - 12))) << "caption of slot " << slot;
  }
  // The Monitor button starts and stops monitoring and shows it.
  panel->button(0)->click();
  EXPECT_EQ(d.station->station().form().bRunning, 1);
  EXPECT_EQ(panel->button(0)->face().caption, "Monitor : ON");
  EXPECT_EQ(PixelOf(panel->button(0), 4, 4), qRgb(0, 255, 0));
  panel->button(0)->click();
  EXPECT_EQ(d.station->station().form().bRunning, 0);
  EXPECT_EQ(PixelOf(panel->button(0), 4, 4), qRgb(255, 0, 0));
  EXPECT_EQ(panel->button(0)->face().caption, "Start monitor");
}

// Switches every status button on (with wide numbers) or off.
void SwitchAllStatuses(CZentrovaDoc& doc, int on) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  for (int* b : {&doc.bSnedReport, &doc.bAutoStart, &doc.bAutoStartTC, &doc.bMoveToFolder, &doc.bConcatenate,
                 &doc.bWarning, &doc.bDatabaseUploadOrbel}) {
    *b = on;
  }
  doc.iReportInterval = 1440;
  doc.nDataConcatenate = 360000;
  doc.settingsBlock.nMinNoFile = 120;
  doc.settingsBlock.fBatteryWarning = 11.5f;
  doc.settingsBlock.fBatteryShutdown = 10.5f;
}

// At the frame's size every status button shows its whole caption, on or
// off, and every label and field lies in the visible part of the panel.
TEST(DesktopStation, TheControlPanelShowsEveryCaptionAndFieldAtTheFramesSize) {
  TempFolder dir;
  WriteStationConfig(dir);
  Desk d(dir);
  d.Start();
  QApplication::processEvents();
  ControlPanel* panel = d.frame().panel();
  auto* scroll = qobject_cast<QScrollArea*>(d.frame().panelWindow()->widget());
  ASSERT_NE(scroll, nullptr);
  const QRect visible(QPoint(0, 0), scroll->viewport()->size());
  auto shown = [&](QWidget* w) { return visible.contains(QRect(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size())); };
  for (int control : {1018, 1025, 1019, 1020}) EXPECT_TRUE(shown(panel->field(control))) << control;
  EXPECT_TRUE(shown(panel->logPane()));
  for (QLabel* label : panel->findChildren<QLabel*>()) {
    EXPECT_TRUE(shown(label)) << label->text().toStdString();
    EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
        << label->text().toStdString();
  }
  for (int on : {1, 0}) {
    SwitchAllStatuses(d.doc(), on);
    d.frame().RefreshControlPanel();
    for (int slot = 0; slot < kStatusSlots; ++slot) {
      StatusButton* b = panel->button(slot);
      const QString caption = QString::fromStdString(b->face().caption);
      const QFontMetrics m(b->font());
      EXPECT_TRUE(shown(b)) << slot;
      // The caption stands at (10, 10).
      EXPECT_LE(10 + m.horizontalAdvance(caption), b->width()) << caption.toStdString();
      EXPECT_LE(10 + m.height(), b->height()) << caption.toStdString();
    }
  }
  EXPECT_EQ(panel->button(6)->face().caption, "Start warning");
}

TEST(DesktopStation, ControlPanelCommandsAreGreyedWhileAViewIsActiveAndViewCommandsGoToIt) {
  TempFolder dir;
  WriteStationConfig(dir);
  Desk d(dir);
  d.Start();
  Trigger(d, 130, kCmdShowWaveform);
  EXPECT_EQ(d.frame().ShownMenu(), 311);
  ViewWindow* view = d.frame().ActiveView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->TemplateId(), kWaveformViewTemplate);
  d.frame().UpdateCommandUi();
  for (int id : {kCmdStart, kCmdThread, kCmdDetectionActive, kCmdFolderOriginal}) {
    EXPECT_FALSE(d.frame().MenuAction(311, id)->isEnabled()) << id;
  }
  EXPECT_TRUE(d.frame().MenuAction(311, kCmdShowProfile)->isEnabled());
  EXPECT_FALSE(d.frame().ToolbarAction(kCmdFolderOriginal)->isEnabled());
  EXPECT_TRUE(d.frame().ToolbarAction(kCmdNormalize)->isEnabled());
  d.frame().MenuAction(311, kCmdStart)->trigger();
  EXPECT_EQ(d.station->station().form().bRunning, 0);
  d.frame().MenuAction(311, kCmdNormalize)->trigger();
  d.frame().ToolbarAction(kCmdNormalize)->trigger();
  auto* stub = static_cast<StubViewWindow*>(view);
  EXPECT_EQ(stub->commandsRun, 2);
  EXPECT_EQ(stub->lastCommand, kCmdNormalize);
  // The profile view shows menu 314, the phase-velocity view the frame's menu 128.
  d.frame().MenuAction(311, kCmdShowProfile)->trigger();
  EXPECT_EQ(d.frame().ShownMenu(), 314);
  d.frame().MenuAction(314, kCmdProfilePhaseVelocity)->trigger();
  EXPECT_EQ(static_cast<StubViewWindow*>(d.frame().ActiveView())->lastCommand, kCmdProfilePhaseVelocity);
  d.frame().RunCommand(kCmdShowPhaseVelocity);
  EXPECT_EQ(d.frame().ShownMenu(), 128);
  EXPECT_EQ(d.frame().Views().size(), 3u);
  // Back to the panel: its commands work again.
  d.frame().mdi()->setActiveSubWindow(d.frame().panelWindow());
  EXPECT_EQ(d.frame().ShownMenu(), 130);
  Trigger(d, 130, kCmdStart);
  EXPECT_EQ(d.station->station().form().bRunning, 1);
}

// The waveform view's toolbar buttons follow its record and the active
// window at once, without a menu being opened in between.
TEST(DesktopStation, TheViewsToolbarButtonsFollowTheRecordAndTheActiveWindowAtOnce) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  Desk d(dir);
  d.Start();
  d.frame().RunCommand(kCmdShowWaveform);
  auto* view = static_cast<StubViewWindow*>(d.frame().ActiveView());
  ASSERT_NE(view, nullptr);
  view->needsTraces = true;
  d.frame().UpdateCommandUi();
  QAction* up = d.frame().ToolbarAction(kCmdViewToolbar1);
  QAction* down = d.frame().ToolbarAction(kCmdViewToolbar2);
  QAction* normalize = d.frame().ToolbarAction(kCmdNormalize);
  for (QAction* a : {up, down, normalize}) EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  // A record arrives.
  ASSERT_EQ(WriteRecords(dir.Path("watched"), 1).exitCode, 0);
  ASSERT_TRUE(WaitUntil([&] { return view->updates > 0; }, 30000)) << d.buffer.text();
  for (QAction* a : {up, down, normalize}) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  // Normalising shows its button pressed.
  normalize->trigger();
  EXPECT_TRUE(view->normalized);
  EXPECT_TRUE(normalize->isChecked());
  // The control panel active: the view's buttons greyed, the folder's not.
  d.frame().mdi()->setActiveSubWindow(d.frame().panelWindow());
  for (QAction* a : {up, down, normalize}) EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  EXPECT_FALSE(normalize->isChecked());
  EXPECT_TRUE(d.frame().ToolbarAction(kCmdFolderOriginal)->isEnabled());
  // Back to the view.
  for (QMdiSubWindow* w : d.frame().mdi()->subWindowList()) {
    if (w->widget() == view) d.frame().mdi()->setActiveSubWindow(w);
  }
  for (QAction* a : {up, down, normalize}) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  EXPECT_TRUE(normalize->isChecked());
}

// Every file below `folder` with its size: what a look at a record must leave as it is.
std::vector<std::pair<std::string, uintmax_t>> FilesBelow(const std::string& folder) {
  std::vector<std::pair<std::string, uintmax_t>> files;
  if (!std::filesystem::is_directory(folder)) return files;  // none made yet
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    files.emplace_back(e.path().string(), e.is_regular_file() ? e.file_size() : 0);
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(DesktopStation, FileOpenShowsARecordInTheViewsWithoutFilingItUntilTheMonitorTakesTheNext) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=0\n");
  std::filesystem::create_directories(dir.Path("elsewhere"));
  ASSERT_EQ(WriteRecords(dir.Path("elsewhere"), 1, 4321).exitCode, 0);
  std::string record;
  for (const auto& [path, size] : FilesBelow(dir.Path("elsewhere"))) record = path;
  ASSERT_FALSE(record.empty());
  const std::string name = std::filesystem::path(record).filename().string();
  Desk d(dir);
  d.Start();
  d.frame().RunCommand(kCmdShowWaveform);
  auto* view = static_cast<StubViewWindow*>(d.frame().ActiveView());
  ASSERT_NE(view, nullptr);
  const auto watchedBefore = FilesBelow(dir.Path("watched"));
  const auto destBefore = FilesBelow(dir.Path("dest"));
  const int updates = view->updates;

  // The waveform view's File menu and the control panel's have it; so does the frame's own.
  for (int menu : {130, 311, 128}) EXPECT_NE(d.frame().MenuAction(menu, kCmdFileOpen), nullptr) << menu;
  d.answers.recordFile = record;
  d.frame().RunCommand(kCmdFileOpen);
  EXPECT_EQ(d.answers.asked.back(), "open from " + dir.Path("watched"));
  EXPECT_EQ(d.frame().Viewing(), name);
  EXPECT_EQ(d.frame().windowTitle().toStdString(), "Zentrova - viewing " + name);
  EXPECT_GT(view->updates, updates);
  {
    std::lock_guard<std::recursive_mutex> lock(d.doc().mutex);
    EXPECT_EQ(d.doc().record.strFileName, name);
    EXPECT_GT(d.doc().record.nTraces, 0);
  }
  const std::string status = d.frame().statusLine()->text().toStdString();
  EXPECT_EQ(status.rfind("Viewing " + name + ", ", 0), 0u) << status;
  // Nothing filed, nothing written into the watched folder or the destination.
  EXPECT_EQ(FilesBelow(dir.Path("watched")), watchedBefore);
  EXPECT_EQ(FilesBelow(dir.Path("dest")), destBefore);
  EXPECT_TRUE(std::filesystem::exists(record));

  // A file that is no record is said, and the record shown stays.
  dir.Write("elsewhere/notes.sg2", "no record\n");
  d.answers.recordFile = dir.Path("elsewhere/notes.sg2");
  const size_t asked = d.answers.asked.size();
  d.frame().RunCommand(kCmdFileOpen);
  ASSERT_EQ(d.answers.asked.size(), asked + 2);  // the dialog, then the message
  EXPECT_EQ(d.frame().Viewing(), name);

  // The monitor's next record replaces it.
  d.frame().OnNewFiles();
  EXPECT_EQ(d.frame().Viewing(), "");
  EXPECT_EQ(d.frame().windowTitle().toStdString(), "Zentrova");
  EXPECT_EQ(d.frame().statusLine()->text().toStdString().rfind("Last record " + name, 0), 0u);
}

// The record shown, as the views read it.
struct ShownRecord {
  std::string name;
  std::vector<std::vector<float>> samples;
  friend bool operator==(const ShownRecord&, const ShownRecord&) = default;
};

ShownRecord RecordShown(CZentrovaDoc& doc) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  return {doc.record.strFileName, doc.record.ppData};
}

// A file that is not read whole leaves the record shown as it was, titles
// and data alike, and is said with its name as the record tool says it.
TEST(DesktopStation, FileOpenOfARecordNotReadWholeKeepsTheShownRecordAndNamesTheFile) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=0\n");
  ASSERT_EQ(WriteRecords(dir.Path("elsewhere"), 2, 4321).exitCode, 0);
  const auto files = FilesBelow(dir.Path("elsewhere"));
  ASSERT_EQ(files.size(), 2u);
  const std::string shown = files[0].first;
  const std::string name = std::filesystem::path(shown).filename().string();
  const std::string other = ReadFile(files[1].first);
  std::filesystem::create_directories(dir.Path("bad"));
  dir.Write("bad/cut.sg2", other.substr(0, other.size() - 100));  // the last trace's samples cut short
  dir.Write("bad/notes.sg2", "field notes, no record\n");
  dir.Write("bad/other.sg2", "\x55\x3a" + std::string(30, '\x7f'));  // the identifier, then nonsense
  Desk d(dir);
  d.Start();
  d.answers.recordFile = shown;
  d.frame().RunCommand(kCmdFileOpen);
  ASSERT_EQ(d.frame().Viewing(), name);
  const ShownRecord before = RecordShown(d.doc());
  ASSERT_EQ(before.samples.size(), 2u);
  struct Case {
    std::string file, says;
  };
  const Case cases[] = {
      {dir.Path("bad/cut.sg2"), dir.Path("bad/cut.sg2") + " rejected: "},
      {dir.Path("bad/notes.sg2"),
       dir.Path("bad/notes.sg2") + ": not a SEG-2 record (it does not begin with the SEG-2 identifier)"},
      {dir.Path("bad/other.sg2"), dir.Path("bad/other.sg2") + " rejected: "},
      {dir.Path("bad/missing.sg2"), "cannot open " + dir.Path("bad/missing.sg2")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    d.answers.recordFile = c.file;
    d.frame().RunCommand(kCmdFileOpen);
    ASSERT_FALSE(d.answers.asked.empty());
    const std::string message = d.answers.asked.back();
    EXPECT_EQ(message.rfind(c.says, 0), 0u) << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    EXPECT_EQ(d.frame().statusLine()->text().toStdString(), "Not shown: " + message);
    EXPECT_EQ(d.frame().Viewing(), name);
    EXPECT_EQ(d.frame().windowTitle().toStdString(), "Zentrova - viewing " + name);
    EXPECT_TRUE(RecordShown(d.doc()) == before) << "the record shown was changed";
  }
}

// With event detection active an opened record is scanned with the stored
// parameters, and it joins the profile before the profile view has ever
// been open.
TEST(DesktopStation, FileOpenDetectsWithTheStoredParametersAndFillsTheProfile) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=0\nbEventDetection=1\n");
  ASSERT_EQ(WriteRecords(dir.Path("elsewhere"), 1, 4321).exitCode, 0);
  const std::string record = FilesBelow(dir.Path("elsewhere")).at(0).first;
  Desk d(dir);
  d.Start();
  d.answers.recordFile = record;
  d.frame().RunCommand(kCmdFileOpen);
  ASSERT_NE(d.frame().Viewing(), "");
  const std::string status = d.frame().statusLine()->text().toStdString();
  EXPECT_EQ(status.find("event detection off"), std::string::npos) << status;
  EXPECT_NE(status.find(" event"), std::string::npos) << status;
  std::lock_guard<std::recursive_mutex> lock(d.doc().mutex);
  EXPECT_NE(d.doc().pDetectionParameters, nullptr);
  EXPECT_EQ(d.station->station().surfaceWaves().profiles.Count(), 1);
}

TEST(DesktopStation, TheWindowMenuCascadesTilesAndListsTheOpenWindows) {
  TempFolder dir;
  WriteStationConfig(dir);
  Desk d(dir);
  d.Start();
  d.frame().RunCommand(kCmdShowWaveform);
  d.frame().RunCommand(kCmdShowProfile);
  QMenu* window = nullptr;
  for (QAction* a : d.frame().menuBar()->actions()) {
    if (a->text() == "&Window") window = a->menu();
  }
  ASSERT_NE(window, nullptr);  // in the profile view's menu bar, now shown
  emit window->aboutToShow();
  const std::vector<std::string> shown = Shown(window);
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 3), (std::vector<std::string>{"&Cascade", "&Tile", "-"}));
  EXPECT_EQ(shown[3], "&1 Zentrova");
  EXPECT_EQ(shown[4].substr(0, 3), "&2 ");
  EXPECT_EQ(shown[5].substr(0, 3), "&3 ");
  // The active window is checked; choosing another makes it active.
  EXPECT_TRUE(window->actions()[5]->isChecked());
  window->actions()[3]->trigger();
  EXPECT_TRUE(d.frame().IsControlPanelActive());
  // Cascade keeps the views at a size to see their pictures, each above
  // the windows before it and a step further down, the panel at the bottom.
  for (QAction* a : window->actions()) {
    if (a->text() == "&Cascade") a->trigger();
  }
  const auto stacked = d.frame().mdi()->subWindowList(QMdiArea::StackingOrder);
  ASSERT_EQ(stacked.size(), 3);
  EXPECT_EQ(stacked.front(), d.frame().panelWindow());
  for (int i = 1; i < stacked.size(); ++i) {
    const QRect g = stacked[i]->geometry();
    EXPECT_GE(g.width(), 400) << i;
    EXPECT_GE(g.height(), 300) << i;
    EXPECT_GT(g.top(), stacked[i - 1]->geometry().top()) << i;
    EXPECT_GT(g.left(), stacked[i - 1]->geometry().left()) << i;
  }
  // Tile puts the three windows side by side without overlapping.
  for (QAction* a : window->actions()) {
    if (a->text() == "&Tile") a->trigger();
  }
  const auto windows = d.frame().mdi()->subWindowList();
  ASSERT_EQ(windows.size(), 3);
  for (int i = 0; i < windows.size(); ++i) {
    for (int j = i + 1; j < windows.size(); ++j) {
      EXPECT_FALSE(windows[i]->geometry().intersects(windows[j]->geometry())) << i << " " << j;
    }
  }
}

TEST(DesktopStation, ViewsOpenAtTheExitAreReopenedAndAClosedOneIsNot) {
  TempFolder dir;
  WriteStationConfig(dir);
  Desk d(dir);
  d.Start();
  Trigger(d, 130, kCmdShowWaveform);
  d.frame().mdi()->setActiveSubWindow(d.frame().panelWindow());
  Trigger(d, 130, kCmdShowProfile);
  EXPECT_NE(d.Ini().find("bWaveformView=1"), std::string::npos);
  EXPECT_NE(d.Ini().find("bSeisProfileView=1"), std::string::npos);
  EXPECT_EQ(d.doc().views.bWaveformView, 1);
  d.frame().close();  // OK
  d.Restart();
  std::vector<int> kinds;
  for (ViewWindow* v : d.frame().Views()) kinds.push_back(v->TemplateId());
  EXPECT_EQ(kinds, (std::vector<int>{kWaveformViewTemplate, kProfileViewTemplate}));
  // The waveform view closed by the operator stays closed at the next start.
  ViewWindow* waveform = d.frame().Views().front();
  for (QMdiSubWindow* w : d.frame().mdi()->subWindowList()) {
    if (w->widget() == waveform) {
      EXPECT_TRUE(w->close());
    }
  }
  ASSERT_TRUE(WaitUntil([&] { return d.frame().Views().size() == 1; }, 2000));
  EXPECT_TRUE(WaitUntil([&] { return d.Ini().find("bWaveformView=0") != std::string::npos; }, 2000)) << d.Ini();
  EXPECT_TRUE(WaitUntil([&] { return d.doc().views.bWaveformView == 0; }, 2000));
  d.frame().close();
  d.Restart();
  ASSERT_EQ(d.frame().Views().size(), 1u);
  EXPECT_EQ(d.frame().Views().front()->TemplateId(), kProfileViewTemplate);
}

TEST(DesktopStation, CancellingTheExitKeepsMonitoringAndWritesNothing) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  Desk d(dir);
  d.Start();
  const std::string logFile = d.doc().activityLog.LogFile();
  const std::string before = ReadFile(logFile);
  d.answers.ok = false;
  Trigger(d, 130, kCmdExitProgram);
  ASSERT_TRUE(WaitUntil([&] { return !d.answers.asked.empty(); }, 2000));
  EXPECT_EQ(d.answers.asked.back(), "Are you sure you want to exit?");
  EXPECT_TRUE(d.frame().isVisible());
  EXPECT_EQ(d.station->station().form().bRunning, 1);
  EXPECT_EQ(d.station->bExiting(), 0);
  EXPECT_EQ(ReadFile(logFile), before);
  // Closing the control panel's window asks the same; Cancel keeps it.
  d.answers.asked.clear();
  d.frame().panelWindow()->close();
  ASSERT_TRUE(WaitUntil([&] { return !d.answers.asked.empty(); }, 2000));
  EXPECT_EQ(d.answers.asked.back(), "Are you sure you want to exit?");
  EXPECT_NE(d.frame().panelWindow(), nullptr);
  EXPECT_EQ(d.station->station().form().bRunning, 1);
}

// File > Shutdown asks with OK and Cancel; Cancel leaves the computer on
// and writes nothing, whatever a Yes/No box would have answered.
TEST(DesktopStation, ShutdownAsksOkOrCancelAndCancelKeepsTheStationRunning) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  std::vector<std::string> okCancel;
  Desk d(dir);
  d.Start();
  const std::string logFile = d.doc().activityLog.LogFile();
  const std::string before = ReadFile(logFile);
  d.station->dialogs().askOkCancel = [&okCancel](const std::string& text) {
    okCancel.push_back(text);
    return false;
  };
  d.answers.yes = true;
  Trigger(d, 130, kCmdShutdown);
  EXPECT_EQ(okCancel, std::vector<std::string>{"Are you sure to shutdown?"});
  EXPECT_EQ(ReadFile(logFile), before);
  EXPECT_EQ(d.station->station().form().bRunning, 1);
}

// A signal ends the program as a confirmed exit does, also while the exit
// question is open (whatever the box then answers) or another dialog is:
// the frame closes and the closing line is written once.
size_t ClosingLines(Desk& d) {
  const std::string log = ReadFile(d.doc().activityLog.LogFile());
  size_t n = 0;
  for (size_t at = log.find("Zentrova was closed."); at != std::string::npos;
       at = log.find("Zentrova was closed.", at + 1)) {
    ++n;
  }
  return n;
}

TEST(DesktopStation, ASignalWhileTheExitQuestionIsOpenEndsTheProgramWithOneClosingLine) {
  for (const bool answer : {false, true}) {
    SCOPED_TRACE(answer);
    TempFolder dir;
    WriteStationConfig(dir, "bAutoStart=1\n");
    Desk d(dir);
    d.Start();
    d.answers.ok = answer;
    d.answers.whileAsking = [&d] { d.frame().ExitConfirmed(); };
    Trigger(d, 130, kCmdExitProgram);
    ASSERT_TRUE(WaitUntil([&] { return !d.answers.asked.empty(); }, 2000));
    EXPECT_TRUE(WaitUntil([&] { return !d.frame().isVisible(); }, 3000));
    EXPECT_EQ(d.station->bExiting(), 1);
    EXPECT_EQ(d.station->station().form().bRunning, 0);
    EXPECT_EQ(ClosingLines(d), 1u);
  }
}

TEST(DesktopStation, ASignalWhileADialogIsOpenEndsTheDialogAndTheProgram) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  Desk d(dir);
  d.Start();
  QDialog dialog(&d.frame());
  bool endedBySignal = false;
  QTimer::singleShot(50, &d.frame(), [&] {
    d.frame().ExitConfirmed();
    endedBySignal = !dialog.isVisible();
  });
  // Should the dialog stay, the test ends it rather than hang.
  QTimer::singleShot(5000, &dialog, &QDialog::accept);
  EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  EXPECT_TRUE(endedBySignal);
  EXPECT_FALSE(d.frame().isVisible());
  EXPECT_EQ(ClosingLines(d), 1u);
}

TEST(DesktopStation, ConfirmedExitStopsMonitoringAndEndsTheLogFileWithTheClosingLine) {
  TempFolder dir;
  WriteStationConfig(dir, "bAutoStart=1\n");
  Desk d(dir);
  d.Start();
  Trigger(d, 130, kCmdShowWaveform);
  d.answers.ok = true;
  // Closing the control panel's window exits as the exit does.
  d.frame().panelWindow()->close();
  ASSERT_TRUE(WaitUntil([&] { return !d.frame().isVisible(); }, 3000));
  EXPECT_EQ(d.station->bExiting(), 1);
  EXPECT_EQ(d.station->station().form().bRunning, 0);
  const std::string log = ReadFile(d.doc().activityLog.LogFile());
  const std::string last = "Zentrova was closed.\r\n";
  ASSERT_GE(log.size(), last.size());
  EXPECT_EQ(log.substr(log.size() - last.size()), last);
  d.station.reset();
  // The view open at the exit keeps its key.
  EXPECT_NE(d.Ini().find("bWaveformView=1"), std::string::npos);
}

}  // namespace
}  // namespace zentrova
