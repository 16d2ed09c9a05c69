// The per-file pipeline and the destination tree, on real folders.

#include <filesystem>

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

using testing::StationFixture;

NewFileInput Input(const std::string& path, int first, int number = 0) {
  NewFileInput in;
  in.path = path;
  in.name = std::filesystem::path(path).filename().string();
  in.kind = 0;
  in.fileNumber = number;
  in.first = first;
  return in;
}

TEST(FilePipeline, FirstRecordSetsTheTraceCountOfTheRun) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.MoveExistingFiles();  // "Start": the destination exists from here on
  auto first = doc.ProcessNewFile(Input(st.WriteRecord("1.sg2", 24), 1, 1));
  ASSERT_TRUE(first.accepted);
  EXPECT_EQ(doc.settingsBlock.nReferenceTraces, 24);
  EXPECT_EQ(first.filedPath, st.watched + "/1.sg2");  // "Move to folder" is off
  auto second = doc.ProcessNewFile(Input(st.WriteRecord("2.sg2", 12), 0, 2));
  EXPECT_FALSE(second.accepted);
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_error"), std::vector<std::string>{"2.sg2"});
  const std::string log = st.LogFileText();
  EXPECT_NE(log.find("Found file : 1.sg2 : Numer of traces = 24 bReadData=0\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Found file: 2.sg2 : Numer of traces = 12\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Caiution: Number of traces = 12 and not consistent. 2.sg2\r\n"), std::string::npos) << log;
  EXPECT_TRUE(doc.settingsBlock.KnownFiles.Contains(st.watched + "/1.sg2"));
  EXPECT_FALSE(doc.settingsBlock.KnownFiles.Contains(st.watched + "/2.sg2"));
  EXPECT_EQ(doc.settingsBlock.nFileId, 1);
}

TEST(FilePipeline, ReportsTheRecordTimeAndFilesByIt) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  // Yesterday's record (2020-03-14 23:59:58.250), filed by its first-sample time,
  // which does not carry the acquisition milliseconds.
  auto r = doc.ProcessNewFile(Input(st.WriteRecord("1234.sg2", 3, 1584230398, 250), 1, 1234));
  ASSERT_TRUE(r.accepted);
  const std::string hour = st.destination + "/WaveformFiles/2020/202003/20200314/2020031423";
  EXPECT_EQ(r.filedPath, hour + "/20200314_235958.000_S1_1234.dat");
  EXPECT_TRUE(std::filesystem::exists(r.filedPath));
  EXPECT_FALSE(std::filesystem::exists(st.watched + "/1234.sg2"));
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1),
            "1234.sg2 (Number of traces = 3 GPS=No GPS 23:59:58.000 03/14/2020 )");
  EXPECT_NE(st.LogFileText().find("1234.sg2 was copied to " + r.filedPath), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(st.destination + "/WaveformFiles_concatenated"));
  EXPECT_EQ(doc.settingsBlock.nFiledFiles, 1);
}

TEST(FilePipeline, ANewHourStartsTheJoinOfTheLastOne) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  st.profile.values["bConcatenate"] = "1";
  CZentrovaDoc& doc = st.Doc();
  ASSERT_TRUE(doc.ProcessNewFile(Input(st.WriteRecord("1.sg2", 3, 1584259445), 1, 1)).accepted);
  ASSERT_TRUE(doc.ProcessNewFile(Input(st.WriteRecord("2.sg2", 3, 1584259505), 0, 2)).accepted);
  EXPECT_TRUE(st.joins.empty());
  ASSERT_TRUE(doc.ProcessNewFile(Input(st.WriteRecord("3.sg2", 3, 1584262805), 0, 3)).accepted);  // 09:00:05
  ASSERT_EQ(st.joins.size(), 1u);
  EXPECT_EQ(st.joins[0].sourceFolder, st.destination + "/WaveformFiles/2020/202003/20200315/2020031508");
  EXPECT_EQ(st.joins[0].targetFolder, st.destination + "/WaveformFiles_concatenated/2020/202003/20200315");
  EXPECT_EQ(st.joins[0].presetLength, 60000);
  EXPECT_EQ(st.joins[0].nameText, "S1");
  EXPECT_EQ(st.joins[0].bThreaded, 1);
  EXPECT_EQ(st.Files(st.joins[0].sourceFolder).size(), 2u);
  const int n = doc.activityLog.Count();
  EXPECT_EQ(doc.activityLog.GetAt(n - 2), "Sub folder was changed");
  EXPECT_EQ(doc.activityLog.GetAt(n - 1), "Data will be concatenated");
}

TEST(FilePipeline, RecordsWithoutTimeAreFiledByTheClock) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  const std::string path = st.watched + "/7.sg2";
  std::string bytes = testing::ReadFileBytes(st.WriteRecord("tmp.sg2", 2));
  std::filesystem::remove(st.watched + "/tmp.sg2");
  const size_t at = bytes.find("ACQUISITION_DATE");
  bytes.replace(at, 16, "XCQUISITION_DATE");
  bytes.replace(bytes.find("ACQUISITION_TIME"), 16, "XCQUISITION_TIME");
  st.root.Write("watched/7.sg2", bytes);
  st.clock.SetNow(1584266400);  // 10:00:00
  auto r = doc.ProcessNewFile(Input(path, 1, 7));
  ASSERT_TRUE(r.accepted);
  EXPECT_EQ(r.filedPath, st.destination + "/WaveformFiles/2020/202003/20200315/2020031510/20200315_100000.000_S1_7.dat");
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "7.sg2 (Number of traces = 2 : Number of samples = 50)");
}

TEST(FilePipeline, RefusedMoveLeavesTheRecordWhereItWas) {
  StationFixture st;
  st.profile.values["bMoveToFolder"] = "1";
  CZentrovaDoc& doc = st.Doc();
  st.fs.FailMoves(Status::IoError("refused"));
  const std::string path = st.WriteRecord("5.sg2");
  auto r = doc.ProcessNewFile(Input(path, 1, 5));
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(r.filedPath, path);  // what is reported is where the record is
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(doc.settingsBlock.nFiledFiles, 0);
}

TEST(FilePipeline, EmptyAndUnreadableFiles) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  st.root.Write("watched/0.sg2", std::string(10, 'x'));
  EXPECT_FALSE(doc.ProcessNewFile(Input(st.watched + "/0.sg2", 1)).accepted);
  EXPECT_EQ(st.Files(st.destination + "/WaveformFiles_error"), std::vector<std::string>{"0.sg2"});
  st.root.Write("watched/9.mtn", std::string(700, 'x'));
  NewFileInput mtn = Input(st.watched + "/9.mtn", 1);
  mtn.kind = 16;
  EXPECT_FALSE(doc.ProcessNewFile(mtn).accepted);
  EXPECT_TRUE(std::filesystem::exists(st.watched + "/9.mtn"));  // stays for the next cycle
}

TEST(FilePipeline, WithoutAReferenceTheNextRecordSetsIt) {
  StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  doc.settingsBlock.KnownFiles.Append(st.watched + "/old.sg2");  // registered at "Start"
  auto r = doc.ProcessNewFile(Input(st.WriteRecord("1.sg2", 6), 0, 1));
  EXPECT_TRUE(r.accepted);
  EXPECT_EQ(doc.settingsBlock.nReferenceTraces, 6);
  EXPECT_FALSE(doc.ProcessNewFile(Input(st.WriteRecord("2.sg2", 5), 0, 2)).accepted);
}

}  // namespace
}  // namespace zentrova
