#pragma once
// The command identifiers of the desktop program's menus and toolbar.

namespace zentrova {

enum CommandId : int {
  // Control panel (menu 130).
  kCmdFolderOriginal = 32780,
  kCmdFolderDestination = 32814,
  kCmdDriveSelector = 32816,
  kCmdExitProgram = 32824,
  kCmdShutdown = 32822,
  kCmdShowWaveform = 32773,
  kCmdShowPhaseVelocity = 32774,
  kCmdShowProfile = 32775,
  kCmdNormalize = 32781,
  kCmdStart = 32771,
  kCmdStop = 32785,
  kCmdInterval05 = 32837,
  kCmdInterval1 = 32787,
  kCmdInterval2 = 32788,
  kCmdInterval4 = 32790,
  kCmdInterval8 = 32789,
  kCmdAutoStart = 32795,
  kCmdAutoStartTC = 32818,
  kCmdConcatenate = 32796,
  kCmdMoveToFolder = 32798,
  kCmdUploadWaveformFile = 32843,
  kCmdSendReport = 32805,
  kCmdSendWarning = 32828,
  kCmdPickMaximumAmplitude = 32834,
  kCmdDetectionActive = 32779,
  kCmdDetectionSetting = 32778,
  kCmdDetectionSendMail = 32793,
  kCmdUploadToDatabase = 32841,
  kCmdRecipient = 32812,
  kCmdSender = 32829,
  kCmdServerUrl = 32831,
  kCmdUseLocalServer = 32845,
  kCmdMessageInterval = 32813,
  kCmdControllerLocation = 32820,
  kCmdSiteName = 32838,
  kCmdTestMail = 32808,
  kCmdConnectToServer = 32826,
  kCmdThread = 32791,
  kCmdVariableFileSize = 32836,
  kCmdAbout = 57664,
  kCmdRefreshPanel = 32842,
  // The toolbar's view buttons besides "Normalize" (the waveform view's gain).
  kCmdViewToolbar1 = 32782,
  kCmdViewToolbar2 = 32783,
  // The profile view's menu 314.
  kCmdProfileMaxAmplitude = 32802,
  kCmdProfilePhaseVelocity = 32803,
  kCmdProfileSWaveProfile = 32804,
  // The main frame's own menu 128.
  kCmdFileNew = 57600,
  kCmdFileOpen = 57601,
  kCmdFileClose = 57602,
  kCmdFileMru = 57616,
  kCmdAppExit = 57665,
  kCmdViewToolbar = 59392,
  kCmdViewStatusBar = 59393,
};

// Who answers a command: the application (always), the document (from any
// child of it), the active view window, or the control panel (only while
// it is the active child).
enum class CommandTarget { kApplication, kDocument, kView, kControlPanel, kFrame };

CommandTarget TargetOf(int id);

}  // namespace zentrova
