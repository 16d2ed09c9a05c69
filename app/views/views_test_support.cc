#include "app/views/views_test_support.h"

#include <filesystem>
#include <mutex>

#include "records/seg2_reader.h"

namespace zentrova::testing {

ViewSources ViewsFixture::Sources() {
  ViewSources sources;
  sources.doc = &Doc();
  if (!followUp) followUp = std::make_unique<SurfaceWaveFollowUp>(Doc());
  sources.surfaceWaves = followUp.get();
  sources.profiles = &followUp->profiles;
  sources.bExiting = &bExiting;
  return sources;
}

int ViewsFixture::Read(const std::string& path) {
  CZentrovaDoc& doc = Doc();
  std::lock_guard<std::recursive_mutex> lock(doc.mutex);
  int status = 0;
  const int traces = ReadSeg2File(st.fs, doc.record, path, 1, 1, status);
  doc.record.strFileName = std::filesystem::path(path).filename().string();  // as the pipeline names it
  return traces;
}

std::unique_ptr<ViewWindow> ViewsFixture::Open(int templateId) {
  return std::unique_ptr<ViewWindow>(CreateViewWindow(templateId, Sources(), nullptr));
}

std::string ViewPicturesFolder() {
  const std::string folder = std::string(ZENTROVA_BINARY_DIR) + "/pictures/views";
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace zentrova::testing
