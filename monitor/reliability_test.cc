// A destination that disappears, fills up or refuses the move never loses
// a record: each one ends up whole in the watched folder, in the hour tree
// or in the error folder.

#include <filesystem>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

using testing::StationFixture;

// Every record written, by its bytes, is found whole in exactly one place.
void ExpectEveryRecordOnce(const StationFixture& st, const std::map<std::string, std::string>& written) {
  std::multiset<std::string> found;
  std::error_code ec;
  for (auto& e : std::filesystem::recursive_directory_iterator(st.root.path(), ec)) {
    if (!e.is_regular_file()) continue;
    const std::string bytes = testing::ReadFileBytes(e.path().string());
    for (const auto& [name, content] : written) {
      if (bytes == content) found.insert(name);
    }
  }
  for (const auto& [name, content] : written) EXPECT_EQ(found.count(name), 1u) << name;
}

class Reliability : public ::testing::Test {
 protected:
  void SetUp() override {
    st.profile.values["bMoveToFolder"] = "1";
    st.Doc().MoveExistingFiles();
  }
  void Write(int number) {
    const std::string path = st.WriteRecord(std::to_string(number) + ".sg2", 3, 1584259445 + number);
    written[std::to_string(number)] = testing::ReadFileBytes(path);
  }
  StationFixture st;
  std::map<std::string, std::string> written;
};

TEST_F(Reliability, DestinationThatDisappears) {
  Write(1);
  ASSERT_EQ(st.Doc().CheckNewFiles(), 1);
  std::filesystem::rename(st.destination, st.root.Path("unplugged"));  // the drive is taken away
  Write(2);
  Write(3);
  st.Doc().CheckNewFiles();
  ExpectEveryRecordOnce(st, written);
  EXPECT_TRUE(std::filesystem::exists(st.destination + "/WaveformFiles/2020/202003/20200315/2020031508"));
}

TEST_F(Reliability, DestinationOnAnUnreachableDrive) {
  Write(1);
  st.Doc().settingsBlock.strDestinationFolder = st.root.Path("unplugged/drive/Data");
  Write(2);
  st.Doc().CheckNewFiles();
  st.Doc().CheckNewFiles();
  ExpectEveryRecordOnce(st, written);
  EXPECT_TRUE(std::filesystem::exists(st.watched + "/1.sg2"));
}

TEST_F(Reliability, DestinationThatFillsUp) {
  st.fs.PretendCrossDevice(true);  // moves copy, as to another drive
  Write(1);
  ASSERT_EQ(st.Doc().CheckNewFiles(), 1);
  st.fs.SetWriteBudget(1000);  // the disk fills in the middle of the next copy
  Write(2);
  Write(3);
  st.Doc().CheckNewFiles();
  ExpectEveryRecordOnce(st, written);
  EXPECT_TRUE(std::filesystem::exists(st.watched + "/2.sg2"));
  std::error_code ec;
  for (auto& e : std::filesystem::recursive_directory_iterator(st.destination, ec)) {
    EXPECT_EQ(e.path().string().find(".partial"), std::string::npos) << e.path();
  }
}

TEST_F(Reliability, MovesThatAreRefused) {
  st.fs.FailMoves(Status::IoError("access denied"));
  Write(1);
  Write(2);
  st.root.Write("watched/3.sg2", "not a record");  // rejected, and its move to the error folder refused too
  written["3"] = "not a record";
  st.Doc().CheckNewFiles();
  st.Doc().CheckNewFiles();
  ExpectEveryRecordOnce(st, written);
  st.fs.AllowMoves();
  st.Doc().CheckNewFiles();  // the rejected one goes to the error folder now
  EXPECT_TRUE(std::filesystem::exists(st.destination + "/WaveformFiles_error/3.sg2"));
  ExpectEveryRecordOnce(st, written);
}

}  // namespace
}  // namespace zentrova
