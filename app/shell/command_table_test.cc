// The menus as data: the texts and commands of menu 130, its separators,
// and the enable and check rules for each state that changes them.

#include <gtest/gtest.h>

#include "app/shell/command_table.h"

namespace zentrova {
namespace {

const MenuRow* Row(const MenuTable& table, int id) {
  for (const MenuRow& r : table.rows) {
    if (r.id == id) return &r;
  }
  return nullptr;
}

TEST(CommandTable, ControlPanelMenuHasEveryCommandWithItsText) {
  struct Expected {
    const char* path;
    const char* text;
    int id;
  };
  const Expected expected[] = {
      {"File", "Folder (original)", 32780}, {"File", "Folder (destination)", 32814}, {"File", "Drive selector", 32816},
      {"File", "Open record...", 57601}, {"File", "Exit program", 32824}, {"File", "Shutdown", 32822},
      {"View", "Show waveform data window", 32773}, {"View", "Show phase velocity window", 32774},
      {"View", "Show profile window", 32775}, {"View", "Normalize", 32781},
      {"Monitor", "Start", 32771}, {"Monitor", "Stop", 32785},
      {"Monitor/Intervals", "0.5 sec", 32837}, {"Monitor/Intervals", "1 sec", 32787},
      {"Monitor/Intervals", "2 sec", 32788}, {"Monitor/Intervals", "4 sec", 32790},
      {"Monitor/Intervals", "8 sec", 32789}, {"Monitor", "Auto start", 32795},
      {"Monitor", "Auto start Tarnlink Controller (TC)", 32818}, {"Monitor", "Concatenate", 32796},
      {"Monitor", "Move to folder", 32798}, {"Monitor", "Upload waveform file", 32843},
      {"Monitor", "Send report", 32805}, {"Monitor", "Send warning", 32828},
      {"Monitor/Processing", "Pick maximum amlitude", 32834}, {"Event detection", "Active", 32779},
      {"Event detection", "Setting", 32778}, {"Event detection", "Send e-mail", 32793},
      {"System/Options/Database", "Upload data to database (MASW)", 32841},
      {"Options/Setting", "E-mail address (recipient)", 32812}, {"Options/Setting", "E-mail setting (sender)", 32829},
      {"Options/Setting", "Server's URL ", 32831}, {"Options/Setting", "Use local server", 32845},
      {"Options/Setting", "Message interval", 32813}, {"Options/Setting", "Tarnlink Controller location", 32820},
      {"Options/Setting", "Site name", 32838}, {"Options/Test", "Send e-mail", 32808},
      {"Options/Test", "Connect to server", 32826}, {"Options/Options", "Thread", 32791},
      {"Options/Options", "Variable file size", 32836}, {"Help", "&About Zentrova...", 57664},
  };
  const MenuTable& t = ControlPanelMenu();
  ASSERT_EQ(t.rows.size(), std::size(expected));
  for (size_t i = 0; i < t.rows.size(); ++i) {
    EXPECT_EQ(t.rows[i].path, expected[i].path) << i;
    EXPECT_EQ(t.rows[i].text, expected[i].text) << i;
    EXPECT_EQ(t.rows[i].id, expected[i].id) << i;
  }
}

TEST(CommandTable, EveryItemGetsAMnemonicOfItsOwnInItsMenu) {
  struct Case {
    std::vector<std::string> texts;
    std::vector<std::string> shown;
  } cases[] = {
      {{"Start", "Stop", "Intervals", "Auto start", "Auto start Tarnlink Controller (TC)", "Concatenate"},
       {"&Start", "S&top", "&Intervals", "&Auto start", "Auto start Tarnlink &Controller (TC)", "C&oncatenate"}},
      {{"&About Zentrova...", "About"}, {"&About Zentrova...", "A&bout"}},
      {{"0.5 sec", "1 sec", "2 sec"}, {"&0.5 sec", "&1 sec", "&2 sec"}},
      {{"ab", "ba", "ab"}, {"&ab", "&ba", "ab"}},  // no letter left: as it is
  };
  for (const Case& c : cases) {
    std::string used;
    std::vector<std::string> shown;
    for (const std::string& t : c.texts) shown.push_back(WithMnemonic(t, used));
    EXPECT_EQ(shown, c.shown);
  }
}

TEST(CommandTable, SeparatorsStandWhereTheMenuDividesItsGroups) {
  std::vector<int> after, afterSubmenu;
  for (const MenuRow& r : ControlPanelMenu().rows) {
    if (r.separatorAfter) after.push_back(r.id);
    if (r.separatorAfterSubmenu) afterSubmenu.push_back(r.id);
  }
  // Drive selector, Open record, Show profile window, Stop, Upload waveform
  // file, Send warning, Setting, Use local server, Tarnlink Controller location.
  EXPECT_EQ(after, (std::vector<int>{32816, 57601, 32775, 32785, 32843, 32828, 32778, 32845, 32820}));
  EXPECT_EQ(afterSubmenu, (std::vector<int>{32789}));  // after the Intervals submenu
}

// Each state that changes a rule, and what the rows show in it.
TEST(CommandTable, EnableAndCheckRulesFollowTheState) {
  using S = CommandState;
  struct Case {
    const char* what;
    int S::*field;  // set to `value` (nullptr: the default state)
    int value;
    int id;
    bool enabled;
    bool checked;
  };
  const Case cases[] = {
      {"stopped: Start", nullptr, 0, 32771, true, false},
      {"stopped: Stop", nullptr, 0, 32785, false, false},
      {"running: Start", &S::bRunning, 1, 32771, false, false},
      {"running: Stop", &S::bRunning, 1, 32785, true, false},
      {"stopped: Thread", nullptr, 0, 32791, true, false},
      {"running: Thread greyed", &S::bRunning, 1, 32791, false, false},
      {"thread mode: Thread checked", &S::bThread, 1, 32791, true, true},
      {"interval 0: 0.5 sec", &S::iInterval, 0, 32837, false, true},
      {"interval 0: 8 sec", &S::iInterval, 0, 32789, true, false},
      {"interval 1: 1 sec", &S::iInterval, 1, 32787, false, true},
      {"interval 2: 2 sec", &S::iInterval, 2, 32788, false, true},
      {"interval 3: 4 sec", &S::iInterval, 3, 32790, false, true},
      {"interval 4: 8 sec", &S::iInterval, 4, 32789, false, true},
      {"interval 4: 0.5 sec", &S::iInterval, 4, 32837, true, false},
      {"interval 7: 8 sec unmarked", &S::iInterval, 7, 32789, true, false},
      {"interval 7: 0.5 sec unmarked", &S::iInterval, 7, 32837, true, false},
      {"Auto start", &S::bAutoStart, 1, 32795, true, true},
      {"Auto start TC", &S::bAutoStartTC, 1, 32818, true, true},
      {"Concatenate", &S::bConcatenate, 1, 32796, true, true},
      {"Move to folder", &S::bMoveToFolder, 1, 32798, true, true},
      {"Upload waveform file", &S::bDatabaseUploadOrbel, 1, 32843, true, true},
      {"Move to folder without upload", &S::bDatabaseUploadOrbel, 1, 32798, true, false},
      {"Send report", &S::bSnedReport, 1, 32805, true, true},
      {"Send warning", &S::bWarning, 1, 32828, true, true},
      {"Pick maximum amlitude", &S::bPickMaximumAmplitude, 1, 32834, true, true},
      {"Active", &S::bEventDetection, 1, 32779, true, true},
      {"Send e-mail", &S::bSendMail, 1, 32793, true, true},
      {"Upload data to database", &S::bDatabaseUpload, 1, 32841, true, true},
      {"Use local server", &S::bUseLocalServer, 1, 32845, true, true},
      {"Variable file size", &S::bVariableFileSize, 1, 32836, true, true},
      {"off: Send report unchecked", nullptr, 0, 32805, true, false},
      {"running: Site name always", &S::bRunning, 1, 32838, true, false},
  };
  for (const Case& c : cases) {
    CommandState state;
    state.iInterval = 4;
    if (c.field) state.*c.field = c.value;
    const MenuRow* row = Row(ControlPanelMenu(), c.id);
    ASSERT_NE(row, nullptr) << c.what;
    EXPECT_EQ(RowEnabled(*row, state), c.enabled) << c.what;
    EXPECT_EQ(RowChecked(*row, state), c.checked) << c.what;
  }
}

TEST(CommandTable, CommandsGoToTheirTargets) {
  EXPECT_EQ(TargetOf(32773), CommandTarget::kApplication);
  EXPECT_EQ(TargetOf(57664), CommandTarget::kApplication);
  EXPECT_EQ(TargetOf(32820), CommandTarget::kDocument);
  EXPECT_EQ(TargetOf(32841), CommandTarget::kDocument);
  EXPECT_EQ(TargetOf(32845), CommandTarget::kDocument);
  for (int id : {32781, 32782, 32783, 32802, 32803, 32804}) EXPECT_EQ(TargetOf(id), CommandTarget::kView) << id;
  for (int id : {32780, 32771, 32798, 32791, 32838}) EXPECT_EQ(TargetOf(id), CommandTarget::kControlPanel) << id;
}

}  // namespace
}  // namespace zentrova
