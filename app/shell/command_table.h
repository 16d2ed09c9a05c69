#pragma once
// The menus of the desktop program as data: every row with its menu path,
// text, command, separator and the rule that enables and checks it. The
// main frame builds its menus from these tables; the tests walk them.

#include <string>
#include <vector>

#include "app/shell/command_ids.h"

namespace zentrova {

class CZentrovaDoc;
class CZentrovaControlForm;

// What the enable and check rules read, taken at once under the
// document's lock.
struct CommandState {
  int bRunning = 0;
  int iInterval = 4;
  int bThread = 0;
  int bAutoStart = 0;
  int bAutoStartTC = 0;
  int bConcatenate = 0;
  int bMoveToFolder = 0;
  int bDatabaseUploadOrbel = 0;
  int bSnedReport = 0;
  int bWarning = 0;
  int bPickMaximumAmplitude = 0;
  int bEventDetection = 0;
  int bSendMail = 0;
  int bDatabaseUpload = 0;
  int bUseLocalServer = 0;
  int bVariableFileSize = 0;
};

CommandState CommandStateOf(CZentrovaDoc& doc, const CZentrovaControlForm& form);

enum class EnableRule {
  kAlways,
  kWhileStopped,     // bRunning = 0
  kWhileRunning,     // bRunning = 1
  kOtherInterval,    // the item of the current iInterval is disabled (and checked)
  kNever,            // shown greyed (menu 128's file commands of a one-document program)
};

struct MenuRow {
  std::string path;  // the submenus, "File" or "Monitor/Intervals"
  std::string text;  // exactly as shown
  int id = 0;
  EnableRule enable = EnableRule::kAlways;
  int CommandState::*check = nullptr;  // checked while the field is 1
  int interval = -1;                   // kOtherInterval: the iInterval of the item
  bool separatorAfter = false;
  // The last row of a submenu: a separator follows the submenu in its parent.
  bool separatorAfterSubmenu = false;
  std::string shortcut;  // e.g. "Ctrl+N"
};

struct MenuTable {
  int id = 0;  // 128, 130, 311, 314
  std::vector<MenuRow> rows;
};

// Menu 130 of the control panel, menu 311 of the waveform view, menu 314
// of the profile view, and the frame's own menu 128 (no document window,
// or a child without a menu of its own: the phase-velocity view).
const MenuTable& ControlPanelMenu();
const MenuTable& WaveformViewMenu();
const MenuTable& ProfileViewMenu();
const MenuTable& FrameMenu();

// The rules of a row for a state (the routing rule is the frame's).
bool RowEnabled(const MenuRow& row, const CommandState& state);
bool RowChecked(const MenuRow& row, const CommandState& state);
// Whether the row can show a check mark at all.
bool RowCheckable(const MenuRow& row);

// The top-level menu's text with its keyboard mnemonic ("&File").
std::string TopLevelText(const std::string& name);

// An item's text with a keyboard mnemonic that no other item of its menu
// has: the first letter of a word that is still free, else any free letter
// or figure ("Auto start" after "Active": "Auto &start"). `used` holds the
// menu's mnemonics so far (lower case) and gains the new one. A text that
// has one already keeps it; a text without a free letter stays as it is.
std::string WithMnemonic(const std::string& text, std::string& used);

}  // namespace zentrova
