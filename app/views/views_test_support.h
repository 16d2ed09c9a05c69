#pragma once
// A station document for the views' tests, with the closing flag the shell
// keeps and the real records to show.

#include <atomic>
#include <memory>
#include <string>

#include "app/views/view_window.h"
#include "monitor/station_fixture.h"
#include "surfacewave/surface_wave_follow_up.h"

namespace zentrova::testing {

struct ViewsFixture {
  StationFixture st;
  std::atomic<int> bExiting{0};
  std::unique_ptr<SurfaceWaveFollowUp> followUp;

  CZentrovaDoc& Doc() { return st.Doc(); }
  // The sources the shell hands to a view.
  ViewSources Sources();
  // Reads a record into the document (under its lock); the traces read.
  int Read(const std::string& path);
  // The view of the kind, owned by the caller.
  std::unique_ptr<ViewWindow> Open(int templateId);
};

// Where a test keeps its pictures: ${ZENTROVA_BINARY_DIR}/pictures/views.
std::string ViewPicturesFolder();

}  // namespace zentrova::testing
