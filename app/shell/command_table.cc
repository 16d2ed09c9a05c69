#include "app/shell/command_table.h"

#include <cctype>
#include <mutex>

#include "monitor/control_form.h"

namespace zentrova {

CommandTarget TargetOf(int id) {
  switch (id) {
    case kCmdShowWaveform:
    case kCmdShowPhaseVelocity:
    case kCmdShowProfile:
    case kCmdAbout:
      return CommandTarget::kApplication;
    case kCmdControllerLocation:
    case kCmdUploadToDatabase:
    case kCmdUseLocalServer:
      return CommandTarget::kDocument;
    case kCmdNormalize:
    case kCmdViewToolbar1:
    case kCmdViewToolbar2:
    case kCmdProfileMaxAmplitude:
    case kCmdProfilePhaseVelocity:
    case kCmdProfileSWaveProfile:
      return CommandTarget::kView;
    case kCmdFileNew:
    case kCmdFileOpen:
    case kCmdFileClose:
    case kCmdFileMru:
    case kCmdAppExit:
    case kCmdViewToolbar:
    case kCmdViewStatusBar:
      return CommandTarget::kFrame;
    default:
      return CommandTarget::kControlPanel;
  }
}

CommandState CommandStateOf(CZentrovaDoc& doc, const CZentrovaControlForm& form) {
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  CommandState s;
  s.bRunning = form.bRunning;
  s.iInterval = form.iInterval;
  s.bThread = form.bThread;
  s.bAutoStart = doc.bAutoStart;
  s.bAutoStartTC = doc.bAutoStartTC;
  s.bConcatenate = doc.bConcatenate;
  s.bMoveToFolder = doc.bMoveToFolder;
  s.bDatabaseUploadOrbel = doc.bDatabaseUploadOrbel;
  s.bSnedReport = doc.bSnedReport;
  s.bWarning = doc.bWarning;
  s.bPickMaximumAmplitude = doc.bPickMaximumAmplitude;
  s.bEventDetection = doc.bEventDetection;
  s.bSendMail = doc.bSendMail;
  s.bDatabaseUpload = doc.bDatabaseUpload;
  s.bUseLocalServer = doc.bUseLocalServer;
  s.bVariableFileSize = doc.settingsBlock.bVariableFileSize;
  return s;
}

namespace {

using S = CommandState;

MenuRow Item(std::string path, std::string text, int id, int S::*check = nullptr, bool separatorAfter = false) {
  MenuRow r;
  r.path = std::move(path);
  r.text = std::move(text);
  r.id = id;
  r.check = check;
  r.separatorAfter = separatorAfter;
  return r;
}

MenuRow Ruled(MenuRow r, EnableRule rule, bool separatorAfter = false) {
  r.enable = rule;
  r.separatorAfter = r.separatorAfter || separatorAfter;
  return r;
}

MenuRow Interval(std::string path, std::string text, int id, int index) {
  MenuRow r = Item(std::move(path), std::move(text), id);
  r.enable = EnableRule::kOtherInterval;
  r.interval = index;
  return r;
}

MenuRow EndOfSubmenu(MenuRow r) {
  r.separatorAfterSubmenu = true;
  return r;
}

MenuTable MakeControlPanelMenu() {
  MenuTable t;
  t.id = 130;
  t.rows = {
      Item("File", "Folder (original)", kCmdFolderOriginal),
      Item("File", "Folder (destination)", kCmdFolderDestination),
      Item("File", "Drive selector", kCmdDriveSelector, nullptr, true),
      Item("File", "Open record...", kCmdFileOpen, nullptr, true),
      Item("File", "Exit program", kCmdExitProgram),
      Item("File", "Shutdown", kCmdShutdown),
      Item("View", "Show waveform data window", kCmdShowWaveform),
      Item("View", "Show phase velocity window", kCmdShowPhaseVelocity),
      Item("View", "Show profile window", kCmdShowProfile, nullptr, true),
      Item("View", "Normalize", kCmdNormalize),
      Ruled(Item("Monitor", "Start", kCmdStart), EnableRule::kWhileStopped),
      Ruled(Item("Monitor", "Stop", kCmdStop), EnableRule::kWhileRunning, true),
      Interval("Monitor/Intervals", "0.5 sec", kCmdInterval05, 0),
      Interval("Monitor/Intervals", "1 sec", kCmdInterval1, 1),
      Interval("Monitor/Intervals", "2 sec", kCmdInterval2, 2),
      Interval("Monitor/Intervals", "4 sec", kCmdInterval4, 3),
      EndOfSubmenu(Interval("Monitor/Intervals", "8 sec", kCmdInterval8, 4)),
      Item("Monitor", "Auto start", kCmdAutoStart, &S::bAutoStart),
      Item("Monitor", "Auto start Tarnlink Controller (TC)", kCmdAutoStartTC, &S::bAutoStartTC),
      Item("Monitor", "Concatenate", kCmdConcatenate, &S::bConcatenate),
      Item("Monitor", "Move to folder", kCmdMoveToFolder, &S::bMoveToFolder),
      Item("Monitor", "Upload waveform file", kCmdUploadWaveformFile, &S::bDatabaseUploadOrbel, true),
      Item("Monitor", "Send report", kCmdSendReport, &S::bSnedReport),
      Item("Monitor", "Send warning", kCmdSendWarning, &S::bWarning, true),
      Item("Monitor/Processing", "Pick maximum amlitude", kCmdPickMaximumAmplitude, &S::bPickMaximumAmplitude),
      Item("Event detection", "Active", kCmdDetectionActive, &S::bEventDetection),
      Item("Event detection", "Setting", kCmdDetectionSetting, nullptr, true),
      Item("Event detection", "Send e-mail", kCmdDetectionSendMail, &S::bSendMail),
      Item("System/Options/Database", "Upload data to database (MASW)", kCmdUploadToDatabase, &S::bDatabaseUpload),
      Item("Options/Setting", "E-mail address (recipient)", kCmdRecipient),
      Item("Options/Setting", "E-mail setting (sender)", kCmdSender),
      Item("Options/Setting", "Server's URL ", kCmdServerUrl),
      Item("Options/Setting", "Use local server", kCmdUseLocalServer, &S::bUseLocalServer, true),
      Item("Options/Setting", "Message interval", kCmdMessageInterval),
      Item("Options/Setting", "Tarnlink Controller location", kCmdControllerLocation, nullptr, true),
      Item("Options/Setting", "Site name", kCmdSiteName),
      Item("Options/Test", "Send e-mail", kCmdTestMail),
      Item("Options/Test", "Connect to server", kCmdConnectToServer),
      Ruled(Item("Options/Options", "Thread", kCmdThread, &S::bThread), EnableRule::kWhileStopped),
      Item("Options/Options", "Variable file size", kCmdVariableFileSize, &S::bVariableFileSize),
      Item("Help", "&About Zentrova...", kCmdAbout),
  };
  return t;
}

MenuTable MakeWaveformViewMenu() {
  MenuTable t;
  t.id = 311;
  t.rows = {
      Item("File", "Folder", kCmdFolderOriginal),
      Item("File", "Open record...", kCmdFileOpen),
      Item("View", "Show waveform data window", kCmdShowWaveform),
      Item("View", "Show phase velocity window", kCmdShowPhaseVelocity),
      Item("View", "Show profile window", kCmdShowProfile),
      Item("View", "Normalize", kCmdNormalize),
      Ruled(Item("Monitor", "Start", kCmdStart), EnableRule::kWhileStopped),
      Ruled(Item("Monitor", "Stop", kCmdStop), EnableRule::kWhileRunning),
      Interval("Monitor/Intervals", "1 sec", kCmdInterval1, 1),
      Interval("Monitor/Intervals", "2 sec", kCmdInterval2, 2),
      Interval("Monitor/Intervals", "4 sec", kCmdInterval4, 3),
      Interval("Monitor/Intervals", "8 sec", kCmdInterval8, 4),
      Item("Event detection", "Active", kCmdDetectionActive, &S::bEventDetection),
      Item("Event detection", "Setting", kCmdDetectionSetting),
      Ruled(Item("Option", "Thread", kCmdThread, &S::bThread), EnableRule::kWhileStopped),
      Item("Help", "&About Zentrova...", kCmdAbout),
  };
  return t;
}

MenuTable MakeProfileViewMenu() {
  MenuTable t;
  t.id = 314;
  t.rows = {
      Item("View", "Max. amplitude", kCmdProfileMaxAmplitude),
      Item("View", "Phase velocity", kCmdProfilePhaseVelocity),
      Item("View", "S-wave velocity profile", kCmdProfileSWaveProfile),
  };
  return t;
}

MenuTable MakeFrameMenu() {
  MenuTable t;
  t.id = 128;
  MenuRow fileNew = Ruled(Item("File", "&New", kCmdFileNew), EnableRule::kNever);
  fileNew.shortcut = "Ctrl+N";
  // Opens a record to look at (the document is the station's one).
  MenuRow fileOpen = Item("File", "&Open...", kCmdFileOpen);
  fileOpen.shortcut = "Ctrl+O";
  t.rows = {
      fileNew,
      fileOpen,
      Item("File", "&Close", kCmdFileClose, nullptr, true),
      Ruled(Item("File", "Recent File", kCmdFileMru), EnableRule::kNever, true),
      Item("File", "E&xit", kCmdAppExit),
      Item("View", "&Toolbar", kCmdViewToolbar),
      Item("View", "&Status Bar", kCmdViewStatusBar),
      Item("Help", "&About Zentrova...", kCmdAbout),
  };
  return t;
}

}  // namespace

const MenuTable& ControlPanelMenu() {
  static const MenuTable table = MakeControlPanelMenu();
  return table;
}
const MenuTable& WaveformViewMenu() {
  static const MenuTable table = MakeWaveformViewMenu();
  return table;
}
const MenuTable& ProfileViewMenu() {
  static const MenuTable table = MakeProfileViewMenu();
  return table;
}
const MenuTable& FrameMenu() {
  static const MenuTable table = MakeFrameMenu();
  return table;
}

bool RowEnabled(const MenuRow& row, const CommandState& state) {
  switch (row.enable) {
    case EnableRule::kAlways: return true;
    case EnableRule::kWhileStopped: return state.bRunning == 0;
    case EnableRule::kWhileRunning: return state.bRunning == 1;
    case EnableRule::kOtherInterval: return state.iInterval != row.interval;
    case EnableRule::kNever: return false;
  }
  return true;
}

bool RowChecked(const MenuRow& row, const CommandState& state) {
  if (row.enable == EnableRule::kOtherInterval) return state.iInterval == row.interval;
  return row.check != nullptr && state.*row.check == 1;
}

bool RowCheckable(const MenuRow& row) { return row.check != nullptr || row.enable == EnableRule::kOtherInterval; }

std::string TopLevelText(const std::string& name) { return "&" + name; }

std::string WithMnemonic(const std::string& text, std::string& used) {
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  const auto usable = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
  const size_t marked = text.find('&');
  if (marked != std::string::npos && marked + 1 < text.size()) {
    used += lower(text[marked + 1]);
    return text;
  }
  const auto free = [&](size_t i) { return usable(text[i]) && used.find(lower(text[i])) == std::string::npos; };
  size_t at = std::string::npos;
  for (size_t i = 0; i < text.size() && at == std::string::npos; ++i) {
    if ((i == 0 || text[i - 1] == ' ' || text[i - 1] == '(') && free(i)) at = i;
  }
  for (size_t i = 0; i < text.size() && at == std::string::npos; ++i) {
    if (free(i)) at = i;
  }
  if (at == std::string::npos) return text;
  used += lower(text[at]);
  return text.substr(0, at) + "&" + text.substr(at);
}

}  // namespace zentrova
