// A command's dialog left open in thread mode: the monitor thread goes on
// filing the records that arrive meanwhile, and the answer given at last
// is applied as before.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

#include "app/shell/testing/desk_fixture.h"
#include "detection/detection_settings_dialog.h"

namespace zentrova {
namespace {

using testing::RegularFilesBelow;
using testing::SyncedBuffer;
using testing::TempFolder;
using testing::WaitUntil;
using testing::WriteRecords;
using testing::WriteStationConfig;

size_t Filed(const TempFolder& dir) {
  size_t n = 0;
  for (const std::string& f : RegularFilesBelow(dir.Path("dest/WaveformFiles"))) n += f.ends_with(".dat") ? 1 : 0;
  return n;
}

// The operator, while the dialog is open: a record arrives in the watched
// folder; the dialog stays open until the monitor thread has filed it (or
// the time is up).
struct Operator {
  TempFolder& dir;
  bool asked = false;
  bool filedWhileOpen = false;
  void Wait() {
    asked = true;
    if (WriteRecords(dir.Path("watched"), 1).exitCode != 0) return;
    filedWhileOpen = WaitUntil([&] { return Filed(dir) == 1; }, 20000);
  }
};

struct Case {
  const char* name;
  int command;
  // The dialogs of the command, holding open where `op` says.
  std::function<void(DialogProvider&, Operator& op)> script;
  // What the answer left, read from the document and the stored settings.
  std::function<bool(CZentrovaDoc&, const std::string& ini, const TempFolder&)> applied;
};

bool Has(const std::string& ini, const std::string& line) {
  return ini.find("\n" + line + "\n") != std::string::npos || ini.ends_with("\n" + line);
}

const Case kCases[] = {
    {"Send report", kCmdSendReport,
     [](DialogProvider& d, Operator& op) {
       d.reports.reportType = [&op](ReportTypeDialog& type) {
         op.Wait();
         type.bReportWebServer = 1;
         return true;
       };
       d.reports.interval = [](IntervalDialog&) { return false; };
     },
     [](CZentrovaDoc& doc, const std::string& ini, const TempFolder&) {
       return Has(ini, "bReportWebServer=1") && doc.settingsBlock.bReportWebServer == 1 && doc.bSnedReport == 0;
     }},
    {"Send warning", kCmdSendWarning,
     [](DialogProvider& d, Operator& op) {
       d.warnings.integer = [](const std::string&, const std::string&, int) { return std::optional<int>(45); };
       d.warnings.thresholds = [&op](CDlgBatteryWarning& thresholds) {
         op.Wait();
         thresholds.sWarning = "11.5";
         return thresholds.OnOK().accepted;
       };
     },
     [](CZentrovaDoc& doc, const std::string& ini, const TempFolder&) {
       return Has(ini, "bWarning=1") && Has(ini, "nMinNoFile=45") && doc.settingsBlock.fBatteryWarning == 11.5f;
     }},
    {"Concatenate", kCmdConcatenate,
     [](DialogProvider& d, Operator& op) {
       d.askInteger = [&op](const std::string&, int) {
         op.Wait();
         return std::optional<int>(7);
       };
     },
     [](CZentrovaDoc& doc, const std::string& ini, const TempFolder&) {
       return Has(ini, "bConcatenate=1") && Has(ini, "nDataConcatenate=7") && doc.bConcatenate == 1;
     }},
    {"Site name", kCmdSiteName,
     [](DialogProvider& d, Operator& op) {
       d.askText = [&op](const std::string&, const std::string&) {
         op.Wait();
         return std::optional<std::string>("North ridge");
       };
     },
     [](CZentrovaDoc& doc, const std::string& ini, const TempFolder&) {
       return Has(ini, "sMyName=North ridge") && doc.settingsBlock.sMyName == "North ridge";
     }},
    {"Event detection parameters", kCmdDetectionSetting,
     [](DialogProvider& d, Operator& op) {
       d.detection = [&op](CZentrovaDoc& doc) {
         CDlgEventDetectionParameters parameters(doc);
         op.Wait();
         parameters.sRmsRatio = "3.5";
         return parameters.OnOK().accepted;
       };
     },
     [](CZentrovaDoc& doc, const std::string&, const TempFolder&) {
       return doc.bEventDetection == 1 && doc.activityLog.RenderLogPane().find("Event detection active") != std::string::npos;
     }},
    {"Folder (original)", kCmdFolderOriginal,
     [](DialogProvider& d, Operator& op) {
       d.askYesNo = [&op](const std::string&) {
         op.Wait();
         return true;  // keeps the folder
       };
     },
     [](CZentrovaDoc& doc, const std::string&, const TempFolder& dir) {
       return doc.settingsBlock.strWatchedFolder == dir.Path("watched");
     }},
};

TEST(DesktopThread, AnOpenDialogLeavesTheMonitorThreadFilingAndItsAnswerIsApplied) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    TempFolder dir;
    WriteStationConfig(dir, "bThread=1\nbAutoStart=1\n");
    Operator op{dir};
    DialogProvider dialogs;
    c.script(dialogs, op);
    SyncedBuffer buffer;
    std::ostream console(&buffer);
    StationOptions options;
    options.configDir = dir.Path("cfg");
    auto station = std::make_unique<DesktopStation>(options, dialogs, console);
    station->Start();
    ASSERT_EQ(station->station().form().bRunning, 1);
    ASSERT_EQ(station->station().form().bThread, 1);
    MainFrame& frame = station->frame();
    frame.mdi()->setActiveSubWindow(frame.panelWindow());
    frame.RunCommand(c.command);
    ASSERT_TRUE(op.asked);
    EXPECT_TRUE(op.filedWhileOpen) << buffer.text();
    CZentrovaDoc& doc = station->doc();
    std::lock_guard<std::recursive_mutex> lock(doc.mutex);
    EXPECT_TRUE(c.applied(doc, dir.Read("cfg/Zentrova.ini"), dir)) << dir.Read("cfg/Zentrova.ini");
  }
}

}  // namespace
}  // namespace zentrova
