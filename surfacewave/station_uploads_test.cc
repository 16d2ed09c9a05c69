// The station's uploads in real monitor cycles over real folders.

#include "surfacewave/station_uploads.h"

#include <gtest/gtest.h>

#include "monitor/station_fixture.h"
#include "records/test_seg2_builder.h"
#include "testing/local_servers.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::StationFixture;

std::string SmallShot() {
  testing::TestSeg2 file;
  for (int i = 0; i < 4; ++i) {
    file.traces.push_back(testing::FloatTrace({"SAMPLE_INTERVAL 0.0005"}, std::vector<float>(64, 1.0f)));
  }
  return file.Build();
}

// The database upload on while the image steps do not run: the result
// holds no pick and no model (only empty layer slots), so nothing is
// written or registered and the operator is told.
TEST(StationUploads, DatabaseUploadWithoutPicksTellsNoSurfaceWaveData) {
  StationFixture st;
  st.profile.values["bDatabaseUpload"] = "1";
  testing::TempFolder serverDir;
  testing::LocalHttpServer server(serverDir);
  ASSERT_FALSE(server.port.empty());
  st.profile.values["sDatabaseServerHost"] = "127.0.0.1:" + server.port;
  CZentrovaDoc& doc = st.Doc();
  CurlHttpClient http(1, 2);
  SurfaceWaveFollowUp followUp(doc);
  ConnectSurfaceWaves(doc, followUp);
  StationUploads uploads(doc, http);
  ConnectUploads(doc, followUp, uploads);
  UseStoredUploadSwitches(doc, uploads);
  EXPECT_EQ(doc.bDatabaseUpload, 1);
  EXPECT_EQ(doc.bDatabaseUploadOrbel, 0);
  doc.bPickMaximumAmplitude = 1;  // the follow-up runs, the image steps do not
  doc.views.bWaveformView = 1;
  doc.MoveExistingFiles();
  st.root.Write("watched/1.sg2", SmallShot());
  ASSERT_EQ(doc.CheckNewFiles(), 1);
  EXPECT_EQ(followUp.runs, 1);
  EXPECT_EQ(st.prompt.shown, (std::vector<std::string>{"No surface wave data."}));
  EXPECT_FALSE(st.real.Exists(st.watched + "/test.xml"));
  ASSERT_TRUE(uploads.WaitIdle(10000));
  EXPECT_EQ(server.Record(), "");
}

}  // namespace
}  // namespace zentrova
