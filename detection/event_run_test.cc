// Detection in the station: the pipeline hands every record to it.

#include "detection/event_run.h"

#include <filesystem>
#include <limits>
#include <regex>

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"
#include "records/seg2_writer.h"
#include "testing/planted_entry.h"
#include "tools/tc_simulator/acquisition_simulator.h"

namespace zentrova {
namespace {

using testing::StationFixture;

// Records as the simulator writes them, every second one with an event.
std::string WriteSimulated(StationFixture& st, int index) {
  SimulatorOptions o;
  o.traces = 6;
  o.samples = 3000;
  o.eventEvery = 2;
  o.startTime = 1584259445;
  const std::string path = st.watched + "/" + std::to_string(100 + index) + ".sg2";
  st.root.Write("watched/" + std::to_string(100 + index) + ".sg2", SimulatedRecord(o, index));
  return path;
}

// The record of WriteSimulated with `value` at sample `at` of every trace.
void WriteSimulatedWith(StationFixture& st, int index, float value, int at) {
  SimulatorOptions o;
  o.traces = 6;
  o.samples = 3000;
  std::vector<std::vector<float>> data = SimulatedTraces(o, index, (index + 1) % 2 == 0);
  std::vector<CHeader> headers(6);
  for (int i = 0; i < 6; ++i) {
    headers[i].nSamples = o.samples;
    headers[i].fSampleInterval = 1000.0f;
    data[i][at] = value;
  }
  RecordTimeHeader time;
  time.tAcquisition = 1584259445 + 3 * index;
  ASSERT_TRUE(WriteSeg2File(st.fs, 6, st.watched + "/" + std::to_string(100 + index) + ".sg2", data, headers, time).ok());
}

int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class EventRun : public ::testing::Test {
 protected:
  void SetUp() override {
    st.product.values["EVENT_DETECTION_METHOD"] = "1";
    st.product.values["EVENT_DETECTION_MINIMUM_N_CHANNEL"] = "3";
    st.product.values["EVENT_DETECTION_CHANNEL_AND"] = "0-5";
    st.profile.values["bEventDetection"] = "1";
    st.profile.values["bMoveToFolder"] = "1";
    st.services.drawEventImage = [this](int number, int mode) {
      images.push_back(number);
      modes.push_back(mode);
      const std::string name = "Waveform_" + std::to_string(number) + ".png";
      if (writeImages) {
        std::filesystem::create_directories(st.destination + "/EventImage");
        st.root.Write("dest/EventImage/" + name, "picture");
      }
      return st.destination + "/EventImage/" + name;
    };
  }
  CZentrovaDoc& Doc() {
    CZentrovaDoc& doc = st.Doc();
    doc.bEventDetection = 1;
    ConnectEventDetection(doc);
    return doc;
  }
  StationFixture st;
  std::vector<int> images;
  std::vector<int> modes;
  bool writeImages = true;
};

TEST_F(EventRun, EveryNewRecordIsScannedAndTheEventsAreLogged) {
  CZentrovaDoc& doc = Doc();
  doc.MoveExistingFiles();
  WriteSimulated(st, 0);
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 2), "0 events were detected.");
  WriteSimulated(st, 1);  // the event record
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 2), "1 events were detected.");
  const std::string events = st.root.Read("dest/" + std::filesystem::path(doc.activityLog.EventFile()).filename().string());
  EXPECT_NE(events.find("6 3000 : 100 2500\r\n"), std::string::npos) << events;
  EXPECT_NE(events.find("Event: 101.sg2 2020/03/15  08:04:05 6 "), std::string::npos) << events;
  const std::string log = st.LogFileText();
  EXPECT_NE(log.find("Event detection was conducted to 101.sg2 (Number of traces = 6)\r\n"), std::string::npos);
  EXPECT_NE(log.find("1 events were detected.\r\n"), std::string::npos);
  EXPECT_TRUE(images.empty());  // no mail wanted
}

TEST_F(EventRun, TheEventFileIsReadableByNoOneWhoMayNotReadTheRecord) {
  CZentrovaDoc& doc = Doc();
  doc.MoveExistingFiles();
  const std::string record = WriteSimulated(st, 1);
  std::filesystem::permissions(record, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  const auto mode = std::filesystem::status(doc.activityLog.EventFile()).permissions();
  EXPECT_EQ(mode & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
            std::filesystem::perms::none);
}

// The event file and the log file lie in the destination, which others
// may write (a shared disk): a link at either name is not written through,
// a FIFO there never holds the cycle, and the record is filed all the same.
TEST_F(EventRun, TheEventAndLogFilesNeverFollowALinkNorWaitOnAFifo) {
  CZentrovaDoc& doc = Doc();
  doc.MoveExistingFiles();
  for (size_t i = 0; i < std::size(testing::kPlantedKinds); ++i) {
    const testing::Planted kind = testing::kPlantedKinds[i];
    testing::PlantedEntry eventFile(doc.activityLog.EventFile(), kind);
    testing::PlantedEntry logFile(doc.activityLog.LogFile(), kind);
    WriteSimulated(st, static_cast<int>(2 * i + 1));  // each with an event
    int filed = 0;
    EXPECT_TRUE(testing::ReturnsPromptly([&] { filed = doc.CheckNewFiles(); }, {&eventFile, &logFile}))
        << PlantedName(kind);
    EXPECT_EQ(filed, 1) << PlantedName(kind);
    EXPECT_TRUE(eventFile.Untouched() && logFile.Untouched()) << PlantedName(kind);
    EXPECT_EQ(eventFile.ReadFromFifo() + logFile.ReadFromFifo(), "") << PlantedName(kind);
  }
}

TEST_F(EventRun, EventsAreMailedWithTheRecordAndItsImage) {
  st.profile.values["bSendMail"] = "1";
  st.profile.values["bSnedReport"] = "1";
  CZentrovaDoc& doc = Doc();
  doc.MoveExistingFiles();
  st.reports.clear();
  std::vector<std::vector<std::string>> attachments;
  std::vector<std::string> summaries;
  doc.services.sendReport = [&](const std::string& text, int force, const std::vector<std::string>& files,
                                 bool announce, const std::string& summary) {
    st.reports.push_back(text + (force ? " (forced)" : "") + (announce ? " (told when sent)" : ""));
    summaries.push_back(summary);
    attachments.push_back(files);
    return 1;
  };
  WriteSimulated(st, 1);
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  // The burst begins at 1.500 s; the event time is the test sample whose W2 first holds enough of it.
  // Its samples of amplitude 200 over noise of RMS about 1: a largest ratio of some hundreds.
  ASSERT_EQ(st.reports.size(), 1u);
  EXPECT_TRUE(std::regex_match(st.reports[0], std::regex("1 events were detected in 101\nEvent 1: Onset = 1\\.501 s "
                                                         "\\(event time 1\\.004 s\\), largest RMS ratio [1-9][0-9]{2}\\.[0-9]{2} "
                                                         "on channel [0-9]+ \\(told when sent\\)")))
      << st.reports[0];
  // The subject names the onset in the record's time and the channels that triggered.
  ASSERT_EQ(summaries.size(), 1u);
  EXPECT_TRUE(std::regex_match(summaries[0], std::regex("event [0-2][0-9]:[0-5][0-9]:[0-5][0-9], [1-9][0-9]* channels?")))
      << summaries[0];
  ASSERT_EQ(attachments.size(), 1u);
  EXPECT_EQ(attachments[0][0], doc.NewFiles[0]);
  EXPECT_EQ(attachments[0][1], st.destination + "/EventImage/Waveform_101.png");
  // Handed on, not yet sent: the outbox tells of the delivery.
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 2), "Mail was queued");
  EXPECT_NE(st.LogFileText().find("Mail was queued\r\n"), std::string::npos);
  EXPECT_EQ(st.LogFileText().find("Mail was sent"), std::string::npos);
}

TEST_F(EventRun, AnImageThatCouldNotBeWrittenIsNotAttached) {
  st.profile.values["bSendMail"] = "1";
  st.profile.values["bSnedReport"] = "1";
  writeImages = false;
  CZentrovaDoc& doc = Doc();
  doc.MoveExistingFiles();
  std::vector<std::vector<std::string>> attachments;
  doc.services.sendReport = [&](const std::string&, int, const std::vector<std::string>& files, bool,
                                const std::string&) {
    attachments.push_back(files);
    return 1;
  };
  WriteSimulated(st, 1);
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  ASSERT_EQ(attachments.size(), 1u);
  EXPECT_EQ(attachments[0], (std::vector<std::string>{doc.NewFiles[0], ""}));
}

// The image's name held by something else than a picture, when the picture
// could not be written over it: a folder, a link to a private file. Neither
// goes out with the mail.
TEST_F(EventRun, OnlyAPictureFileIsAttached) {
  st.profile.values["bSendMail"] = "1";
  st.profile.values["bSnedReport"] = "1";
  writeImages = false;
  CZentrovaDoc& doc = Doc();
  doc.MoveExistingFiles();
  std::vector<std::vector<std::string>> attachments;
  doc.services.sendReport = [&](const std::string&, int, const std::vector<std::string>& files, bool,
                                const std::string&) {
    attachments.push_back(files);
    return 1;
  };
  st.root.Write("private.txt", "private");
  std::filesystem::create_directories(st.destination + "/EventImage/Waveform_101.png");
  std::filesystem::create_symlink(st.root.Path("private.txt"), st.destination + "/EventImage/Waveform_103.png");
  WriteSimulated(st, 1);
  WriteSimulated(st, 3);
  ASSERT_EQ(doc.CheckNewFiles(), 2);
  ASSERT_EQ(attachments.size(), 2u);
  for (const auto& files : attachments) {
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[1], "");
  }
}

TEST_F(EventRun, TheImageIsAskedForNoWiderModeThanTheRecords) {
  st.profile.values["bSendMail"] = "1";
  CZentrovaDoc& doc = Doc();
  doc.MoveExistingFiles();
  const std::string record = WriteSimulated(st, 1);
  std::filesystem::permissions(record, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(modes, std::vector<int>{0600});
}

TEST_F(EventRun, WithReportsOffTheImageIsDrawnButNothingIsSent) {
  st.profile.values["bSendMail"] = "1";
  CZentrovaDoc& doc = Doc();
  doc.MoveExistingFiles();
  WriteSimulated(st, 1);
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(images, std::vector<int>{101});
  EXPECT_TRUE(st.reports.empty());
  EXPECT_EQ(st.LogFileText().find("Mail was sent"), std::string::npos);
}

// One sample that is no number, or near the largest float, costs the
// station only the windows that hold it: the event later in the record is
// found.
TEST_F(EventRun, ABadSampleDoesNotBlindTheDetector) {
  CZentrovaDoc& doc = Doc();
  doc.MoveExistingFiles();
  const float values[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 3e38f};
  for (size_t i = 0; i < std::size(values); ++i) {
    SCOPED_TRACE(values[i]);
    WriteSimulatedWith(st, static_cast<int>(2 * i + 1), values[i], 200);  // the events are at 1.5 s
    ASSERT_EQ(doc.CheckNewFiles(), 1);
    // A huge sample is loud while W2 holds it: an event of its own then.
    const EventDetectionParameters& p = *doc.pDetectionParameters;
    ASSERT_GE(p.nEvents, 1);
    EXPECT_NEAR(p.fEventTime[p.nEvents - 1], 1.0f, 0.05f);
  }
}

// Stored corners that make no band as they stand, and a corner the
// records' sampling cannot hold: what is used instead is said once, however
// many records follow.
TEST_F(EventRun, ACorrectedBandPassIsSaidOnce) {
  struct Case {
    const char* low;
    const char* high;
    std::string note;
  };
  const Case cases[] = {
      {"40", "5",
       "product.ini: EVENT_DETECTION_BANDPASS_LOW=40 and EVENT_DETECTION_BANDPASS_HIGH=5 are out of order; 5 to 40 Hz "
       "is used."},
      {"5", "5",
       "product.ini: EVENT_DETECTION_BANDPASS_LOW=5 and EVENT_DETECTION_BANDPASS_HIGH=5 leave no band between them; the "
       "band-pass is not used."},
      {"5", "600",
       "The band-pass 5 to 600 Hz does not fit below the Nyquist frequency of 500 Hz; only its high-pass at 5 Hz is "
       "used."},
      {"600", "0", "The band-pass from 600 Hz does not fit below the Nyquist frequency of 500 Hz; the traces are not "
                   "filtered."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    StationFixture station;
    for (const char* key : {"EVENT_DETECTION_METHOD", "EVENT_DETECTION_MINIMUM_N_CHANNEL", "EVENT_DETECTION_CHANNEL_AND"}) {
      station.product.values[key] = st.product.values[key];
    }
    station.product.values["EVENT_DETECTION_BANDPASS"] = "1";
    station.product.values["EVENT_DETECTION_BANDPASS_LOW"] = c.low;
    station.product.values["EVENT_DETECTION_BANDPASS_HIGH"] = c.high;
    station.profile.values["bMoveToFolder"] = "1";
    CZentrovaDoc& doc = station.Doc();
    doc.bEventDetection = 1;
    ConnectEventDetection(doc);
    doc.MoveExistingFiles();
    for (int i = 0; i < 3; ++i) {
      WriteSimulated(station, i);
      ASSERT_EQ(doc.CheckNewFiles(), 1);
    }
    const std::string log = station.LogFileText();
    EXPECT_EQ(Occurrences(log, c.note), 1) << log;
    EXPECT_EQ(Occurrences(log, "1 events were detected."), 1) << log;
  }
}

}  // namespace
}  // namespace zentrova
