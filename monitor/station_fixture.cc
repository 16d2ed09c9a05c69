#include "monitor/station_fixture.h"

#include <filesystem>

#include "records/seg2_writer.h"

namespace zentrova::testing {

StationFixture::StationFixture() {
  watched = root.Path("watched");
  destination = root.Path("dest");
  std::filesystem::create_directory(watched);
  profile.values["ZENTROVA_CURRENT_FOLDER_PATH"] = watched;
  profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = destination;
  profile.values["sMyName"] = "S1";
  system.home = root.path();
  services.sendReport = [this](const std::string& text, int, const std::vector<std::string>&, bool,
                                const std::string&) {
    reports.push_back(text);
    return 1;
  };
  services.concatenateRecords = [this](const ConcatenationRequest& r) {
    joins.push_back(r);
    return 1;
  };
}

CZentrovaDoc& StationFixture::Doc() {
  if (!doc_) {
    doc_ = std::make_unique<CZentrovaDoc>(platform, services);
    doc_->StartUp();
  }
  return *doc_;
}

std::string StationFixture::WriteRecord(const std::string& name, int traces, int64_t time, int ms,
                                        const std::string& subfolder) {
  std::vector<CHeader> headers(static_cast<size_t>(traces));
  std::vector<std::vector<float>> data(static_cast<size_t>(traces), std::vector<float>(50, 1.0f));
  for (int i = 0; i < traces; ++i) {
    headers[i].nSamples = 50;
    headers[i].fSampleInterval = 1000.0f;
    headers[i].nReceiverLoc = 100 * i;
  }
  RecordTimeHeader t;
  t.tAcquisition = time;
  t.nAcquisitionMs = ms;
  std::string folder = watched;
  if (!subfolder.empty()) {
    folder = watched + "/" + subfolder;
    std::filesystem::create_directories(folder);
  }
  // Written beside and moved in whole: a writer in this same process is not
  // seen by the lock test, so a record must never appear half-written.
  const std::string path = folder + "/" + name;
  const std::string staging = root.Path("staging-" + name);
  WriteSeg2File(real, traces, staging, data, headers, t);
  std::filesystem::rename(staging, path);
  return path;
}

std::vector<std::string> StationFixture::Files(const std::string& folder) const {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string StationFixture::LogFileText() const {
  return ReadFileBytes(doc_ ? doc_->activityLog.LogFile() : std::string());
}

}  // namespace zentrova::testing
