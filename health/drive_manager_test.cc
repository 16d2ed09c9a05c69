#include "health/drive_manager.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <filesystem>

#include "health/drive_selector.h"
#include "health/health_fixture.h"
#include "health/no_drive_reason.h"
#include "health/station_health.h"

namespace zentrova {
namespace {

class DriveManagerTest : public ::testing::Test {
 protected:
  // The document with the destination 'D:\Data', drive D current.
  CZentrovaDoc& Doc(const std::string& destination = "D:\\Data") {
    h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = destination;
    h.st.profile.values["iCurrentDrive"] = "1";
    CZentrovaDoc& doc = h.st.Doc();
    RefreshDriveTable(doc.settingsBlock, h.volumes);
    return doc;
  }
  testing::HealthFixture h;
};

TEST_F(DriveManagerTest, TheTableHoldsTheDrivesThatExistAndAreNotFull) {
  h.volumes.Add('C', 0.6);
  h.volumes.Add('E', 0.0);  // full
  h.volumes.Add('F', 0.25);
  h.volumes.volumes['G'] = {"G:\\", std::nullopt};  // cannot be asked
  MonitorSettings& m = h.st.Doc().settingsBlock;
  EXPECT_EQ(RefreshDriveTable(m, h.volumes), 2);
  EXPECT_EQ(m.drives[0].sDriveLetter, "C");
  EXPECT_EQ(m.drives[1].sDriveLetter, "F");
  EXPECT_DOUBLE_EQ(m.drives[1].dFreeFraction, 0.25);
  EXPECT_DOUBLE_EQ(m.drives[1].dTotalKB, 1000000.0);
  EXPECT_DOUBLE_EQ(QueryFreeSpace(h.volumes, 'K').fraction, 0.0);
}

TEST(DriveCheck, AFullDriveMovesTheDestination) {
  struct Case {
    const char* name;
    const char* ratio;
    double freeC, freeD;
    int activeC;
    int result;
    const char* destination;
  } cases[] = {
      {"C has room", "0.900000", 0.6, 0.05, 1, 1, "C:\\Data"},
      {"C inactive", "0.900000", 0.6, 0.05, 0, 2, "D:\\Data"},
      {"D has room", "0.900000", 0.6, 0.5, 1, 0, "D:\\Data"},
      // 0.75 and 0.25 are exact in binary: the limits themselves.
      {"D at exactly 1 - ratio is left", "0.750000", 0.6, 0.25, 1, 1, "C:\\Data"},
      {"C at exactly 1 - ratio is not taken", "0.750000", 0.25, 0.05, 1, 2, "D:\\Data"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::HealthFixture f;
    f.volumes.Add('C', c.freeC);
    f.volumes.Add('D', c.freeD);
    f.st.profile.values["bActive_0"] = std::to_string(c.activeC);
    f.st.profile.values["dDiskSpaceRatio"] = c.ratio;
    f.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = "D:\\Data";
    f.st.profile.values["iCurrentDrive"] = "1";
    CZentrovaDoc doc(f.st.platform, f.st.services);
    PlaceDestination(doc, f.volumes);
    ASSERT_EQ(doc.settingsBlock.strDestinationFolder, "D:\\Data");
    EXPECT_EQ(CheckDestinationDrive(doc, f.volumes), c.result);
    EXPECT_EQ(doc.settingsBlock.strDestinationFolder, c.destination);
    EXPECT_EQ(f.st.profile.values["iCurrentDrive"], c.result == 1 ? "0" : "1");
  }
}

// Drive D's space is freed while the other drives are asked.
class FreedMeanwhile : public FakeVolumeTable {
 public:
  std::optional<VolumeSpace> Space(const std::string& root) override {
    if (root == "D:\\" && ++askedD > 1) return VolumeSpace{500, 1000};
    return FakeVolumeTable::Space(root);
  }
  int askedD = 0;
};

TEST_F(DriveManagerTest, TheCurrentDriveIsTheLastCandidate) {
  FreedMeanwhile volumes;
  volumes.Add('C', 0.02);
  volumes.Add('D', 0.05);
  CZentrovaDoc& doc = Doc();
  volumes.askedD = 0;
  EXPECT_EQ(CheckDestinationDrive(doc, volumes), 1);
  EXPECT_EQ(doc.settingsBlock.strDestinationFolder, "D:\\Data");
  EXPECT_EQ(doc.settingsBlock.iCurrentDrive, 1);
}

TEST_F(DriveManagerTest, StartUpPlacement) {
  struct Case {
    std::vector<char> drives;
    const char* stored;
    const char* placed;
    int current;
  } cases[] = {
      {{'C', 'D'}, "d:\\Data", "D:\\Data", 1},
      {{'C'}, "d:\\Data", "C:\\Data", 0},  // the only drive is C
      {{}, "d:\\Data", "d:\\Data", 1},     // no drive at all: left as it is
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.placed);
    testing::HealthFixture f;
    for (char d : c.drives) f.volumes.Add(d, 0.5);
    f.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = c.stored;
    f.st.services.placeDestination = nullptr;
    CZentrovaDoc doc(f.st.platform, f.st.services);
    PlaceDestination(doc, f.volumes);
    EXPECT_EQ(doc.settingsBlock.strDestinationFolder, c.placed);
    EXPECT_EQ(doc.settingsBlock.iCurrentDrive, c.current);
  }
}

TEST_F(DriveManagerTest, FilingReportsTheChangeAndAtMostFiveNoDriveWarnings) {
  const std::string c = h.st.root.Path("volC"), d = h.st.root.Path("volD");
  std::filesystem::create_directories(c);
  std::filesystem::create_directories(d);
  h.volumes.Add('C', 0.6, c);
  h.volumes.Add('D', 0.05, d);
  h.st.profile.values["bSnedReport"] = "1";
  h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = d + "/Data";
  h.st.profile.values["iCurrentDrive"] = "1";
  CurlHttpClient http;
  ReportChannels reports{h.launcher, http, nullptr, nullptr, nullptr, nullptr, nullptr};
  CZentrovaDoc doc(h.st.platform, h.st.services);
  ConnectHealth(doc, reports, h.ch);
  doc.services.sendReport = h.st.services.sendReport;
  doc.StartUp();
  ASSERT_EQ(doc.settingsBlock.strDestinationFolder, d + "/Data");

  h.st.reports.clear();
  const std::string filed = doc.FileRecord(h.st.WriteRecord("1.sg2"), 1);
  EXPECT_EQ(filed.rfind(c + "/Data/WaveformFiles/2020/", 0), 0u) << filed;
  EXPECT_EQ(h.st.reports, std::vector<std::string>{"Destination folder was changed to " + c + "/Data"});
  EXPECT_NE(doc.activityLog.GetAt(doc.activityLog.Count() - 1).find("Destination folder was changed"),
            std::string::npos);

  h.volumes.Add('C', 0.02, c);
  h.st.reports.clear();
  for (int i = 0; i < 8; ++i) doc.FileRecord(h.st.WriteRecord(std::to_string(10 + i) + ".sg2"), 10 + i);
  // The warning, then why: both drives are too full.
  const std::string why = "All drives are full or not in use (more than 10.0% free is needed): C: 2.0% free, D: 5.0% free";
  EXPECT_EQ(h.st.reports, std::vector<std::string>(5, "Warnig! No drive is available.\n" + why));
  int logged = 0, reasons = 0;
  for (int i = 0; i < doc.activityLog.Count(); ++i) {
    logged += doc.activityLog.GetAt(i) == "Warnig! No drive is available.";
    if (doc.activityLog.GetAt(i) == why) {
      ++reasons;
      EXPECT_EQ(doc.activityLog.GetAt(i - 1), "Warnig! No drive is available.");
    }
  }
  EXPECT_EQ(logged, 8);
  EXPECT_EQ(reasons, 8);
  EXPECT_EQ(h.st.Files(c + "/Data/WaveformFiles/2020/202003/20200315/2020031508").size(), 9u);  // filed all the same
}

TEST_F(DriveManagerTest, TheDriveSelector) {
  h.volumes.Add('C', 0.6);
  h.volumes.Add('D', 0.05);
  CZentrovaDoc& doc = Doc("d:\\Data");
  doc.settingsBlock.iCurrentDrive = 0;
  CDlgDriveSelector dialog(doc, h.volumes);
  EXPECT_EQ(h.st.prompt.shown.back(), "Number of drive=2");
  EXPECT_EQ(dialog.iCurrentDrive, 0);  // 'd' is not 'D': the stored choice stays
  EXPECT_EQ(dialog.sRatioPercent, "90");
  ASSERT_EQ(dialog.rows.size(), 2u);
  EXPECT_EQ(dialog.rows[1].sLetter, "D");
  EXPECT_EQ(dialog.rows[1].sUsed, "95.0");
  EXPECT_EQ(dialog.rows[1].sAvailable, "5.0");
  EXPECT_EQ(dialog.rows[1].sTotalGB, "1.00");

  dialog.sRatioPercent = "95";
  dialog.iCurrentDrive = 1;
  dialog.rows[0].bActive = 0;
  EXPECT_TRUE(dialog.OnOK().accepted);
  const MonitorSettings& m = doc.settingsBlock;
  EXPECT_DOUBLE_EQ(m.dDiskSpaceRatio, 0.95);
  EXPECT_EQ(m.strDestinationFolder, "D:\\Data");
  EXPECT_EQ(h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"], "D:\\Data");
  EXPECT_EQ(h.st.profile.values["dDiskSpaceRatio"], "0.950000");
  EXPECT_EQ(h.st.profile.values["bActive_0"], "0");
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Destination folder path is D:\\Data");
  // 5 % free is at the new limit: the next check leaves D, but C may not be used.
  EXPECT_EQ(CheckDestinationDrive(doc, h.volumes), 2);

  CDlgDriveSelector again(doc, h.volumes);
  EXPECT_EQ(again.iCurrentDrive, 1);
  again.sRatioPercent = "most";
  EXPECT_EQ(again.OnOK().prompt, "Enter a number.");
}

// A completely full destination drive leaves the table; the check must
// still see that the destination lies on it and move on, to the next drive
// after it with room.
TEST(DriveCheck, AFullDestinationMovesToTheNextDriveWithRoom) {
  struct Case {
    const char* name;
    double freeC, freeE;
    int result;
    const char* destination;
    const char* reason;
  } cases[] = {
      {"E comes after D", 0.6, 0.5, 1, "E:\\Data", ""},
      {"round to C", 0.6, 0.05, 1, "C:\\Data", ""},
      {"nowhere to go", 0.05, 0.0, 2, "D:\\Data",
       "All drives are full or not in use (more than 10.0% free is needed): C: 5.0% free, D: full, E: full"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::HealthFixture f;
    f.volumes.Add('C', c.freeC);
    f.volumes.Add('D', 0.5);
    f.volumes.Add('E', c.freeE);
    f.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = "D:\\Data";
    f.st.profile.values["iCurrentDrive"] = "1";
    CZentrovaDoc doc(f.st.platform, f.st.services);
    PlaceDestination(doc, f.volumes);
    ASSERT_EQ(doc.settingsBlock.strDestinationFolder, "D:\\Data");
    f.volumes.Add('D', 0.0);  // filled up
    EXPECT_EQ(CheckDestinationDrive(doc, f.volumes), c.result);
    EXPECT_EQ(doc.settingsBlock.strDestinationFolder, c.destination);
    if (c.result == 2) {
      EXPECT_EQ(NoDriveReason(doc.settingsBlock, f.volumes), c.reason);
    }
  }
}

// The same with real folders, the full drive's root lying inside the root
// of another drive: the records go on to be filed, on the drive with room.
TEST_F(DriveManagerTest, RecordsAreFiledOnceTheDestinationDriveIsFull) {
  const std::string c = h.st.root.Path("volC"), d = h.st.root.Path("volC/volD");
  std::filesystem::create_directories(d);
  h.volumes.Add('C', 0.6, c);
  h.volumes.Add('D', 0.5, d);
  h.st.profile.values["bSnedReport"] = "1";
  h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = d + "/Data";
  h.st.profile.values["iCurrentDrive"] = "1";
  CurlHttpClient http;
  ReportChannels reports{h.launcher, http, nullptr, nullptr, nullptr, nullptr, nullptr};
  CZentrovaDoc doc(h.st.platform, h.st.services);
  ConnectHealth(doc, reports, h.ch);
  doc.services.sendReport = h.st.services.sendReport;
  doc.StartUp();
  EXPECT_EQ(doc.FileRecord(h.st.WriteRecord("1.sg2"), 1).rfind(d + "/Data/WaveformFiles/", 0), 0u);

  h.volumes.Add('D', 0.0, d);
  h.st.reports.clear();
  const std::string filed = doc.FileRecord(h.st.WriteRecord("2.sg2"), 2);
  EXPECT_EQ(filed.rfind(c + "/Data/WaveformFiles/2020/", 0), 0u) << filed;
  EXPECT_EQ(h.st.reports, std::vector<std::string>{"Destination folder was changed to " + c + "/Data"});
  EXPECT_EQ(h.st.profile.values["iCurrentDrive"], "0");
}

TEST(DriveCheck, ADestinationThatCannotBeCreatedIsToldApartFromFullDrives) {
  testing::HealthFixture h;
  h.st.profile.values["sDriveRoot_C"] = "/proc";
  h.st.profile.values["sDriveRoot_D"] = h.st.root.Path("not-mounted");
  h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = "/proc/ZentrovaData";
  CZentrovaDoc& doc = h.st.Doc();
  LinuxVolumeTable volumes(h.st.profile, [&doc] { return doc.settingsBlock.strDestinationFolder; });
  PlaceDestination(doc, volumes);
  EXPECT_EQ(CheckDestinationDrive(doc, volumes), 2);
  EXPECT_EQ(NoDriveReason(doc.settingsBlock, volumes), "The destination folder cannot be created: C: /proc holds no storage, D: " +
                                                           h.st.root.Path("not-mounted") + " cannot be reached");
}

// A root that is a file is no volume, though statvfs answers for the file
// system the file lies on: a destination moved below it could never be made.
TEST(DriveCheck, ARootThatIsAFileIsNoDrive) {
  testing::HealthFixture h;
  h.st.root.Write("not-a-folder", "x");
  const std::string file = h.st.root.Path("not-a-folder");
  h.st.profile.values["sDriveRoot_C"] = "/proc";
  h.st.profile.values["sDriveRoot_D"] = file;
  h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = "/proc/ZentrovaData";
  CZentrovaDoc& doc = h.st.Doc();
  LinuxVolumeTable volumes(h.st.profile, [&doc] { return doc.settingsBlock.strDestinationFolder; });
  EXPECT_FALSE(volumes.Space(file).has_value());
  PlaceDestination(doc, volumes);
  EXPECT_EQ(CheckDestinationDrive(doc, volumes), 2);
  EXPECT_EQ(doc.settingsBlock.strDestinationFolder, "/proc/ZentrovaData");
  EXPECT_EQ(NoDriveReason(doc.settingsBlock, volumes),
            "The destination folder cannot be created: C: /proc holds no storage, D: " + file + " cannot be reached");
}

// Free space is what the station's user can write: the blocks reserved for
// the administrator (f_bfree counts them, f_bavail does not) are no use.
TEST(RealVolumes, FreeSpaceIsWhatTheUserCanWrite) {
  testing::TempFolder disk;
  struct statvfs s;
  ASSERT_EQ(::statvfs(disk.path().c_str(), &s), 0);
  ASSERT_GT(s.f_blocks, 0u);
  MemoryStore none;
  LinuxVolumeTable single(none, [&] { return disk.path(); });
  const double fraction = QueryFreeSpace(single, 'C').fraction;
  const double available = static_cast<double>(s.f_bavail) / static_cast<double>(s.f_blocks);
  const double free = static_cast<double>(s.f_bfree) / static_cast<double>(s.f_blocks);
  EXPECT_NEAR(fraction, available, 1e-3);
  if (free - available > 1e-2) {
    EXPECT_LT(fraction, free - 5e-3);
  }
}

double FreeFraction(const std::string& folder) {
  struct statvfs s;
  if (::statvfs(folder.c_str(), &s) != 0 || s.f_blocks == 0) return -1;
  return static_cast<double>(s.f_bavail) / static_cast<double>(s.f_blocks);
}

TEST(RealVolumes, TheDestinationMovesToAnotherMountPoint) {
  testing::TempFolder disk;
  const std::string shm = "/dev/shm/zentrova-volume-" + std::to_string(::getpid());
  std::filesystem::create_directories(shm);
  struct Cleanup {
    std::string path;
    ~Cleanup() { std::filesystem::remove_all(path); }
  } cleanup{shm};
  ASSERT_NE(MountPointOf(disk.path()), MountPointOf(shm)) << "needs /dev/shm on its own file system";
  EXPECT_EQ(MountPointOf(shm + "/not/yet/made"), MountPointOf(shm));

  // The fuller volume is the current one; the ratio lies between the two.
  const double fDisk = FreeFraction(disk.path()), fShm = FreeFraction(shm);
  if (std::abs(fDisk - fShm) < 1e-4) GTEST_SKIP() << "both volumes equally full";
  const std::string full = fDisk < fShm ? disk.path() : shm;
  const std::string roomy = fDisk < fShm ? shm : disk.path();
  testing::HealthFixture h;
  h.st.profile.values["sDriveRoot_C"] = roomy;
  h.st.profile.values["sDriveRoot_D"] = full;
  h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = full + "/ZentrovaData";
  h.st.profile.values["iCurrentDrive"] = "1";
  h.st.profile.values["dDiskSpaceRatio"] = FormatStoredFloat(1.0 - (fDisk + fShm) / 2.0);
  CZentrovaDoc& doc = h.st.Doc();
  LinuxVolumeTable volumes(h.st.profile, [&doc] { return doc.settingsBlock.strDestinationFolder; });
  PlaceDestination(doc, volumes);
  EXPECT_EQ(doc.settingsBlock.strDestinationFolder, full + "/ZentrovaData");
  EXPECT_EQ(CheckDestinationDrive(doc, volumes), 1);
  EXPECT_EQ(doc.settingsBlock.strDestinationFolder, roomy + "/ZentrovaData");

  // Without a list: one drive C at the destination's mount point, which nothing moves.
  MemoryStore none;
  LinuxVolumeTable single(none, [&] { return disk.path() + "/ZentrovaData"; });
  EXPECT_EQ(single.Root('C'), MountPointOf(disk.path()));
  EXPECT_EQ(single.Root('D'), "");
  EXPECT_GT(QueryFreeSpace(single, 'C').totalKB, 0.0);
}

}  // namespace
}  // namespace zentrova
