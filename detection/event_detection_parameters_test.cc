#include "detection/event_detection_parameters.h"

#include <gtest/gtest.h>

#include "detection/detection_settings_dialog.h"
#include "detection/event_run.h"
#include "monitor/station_fixture.h"

namespace zentrova {
namespace {

TEST(EventDetectionParameters, DefaultsAndTheStoredValues) {
  EventDetectionParameters p;
  EXPECT_EQ(p.sChannelAnd, "0-512");
  EXPECT_EQ(p.nMinimumChannels, 5);
  EXPECT_EQ(p.nChannels, 0);
  MemoryStore product;
  product.values = {{"EVENT_DETECTION_METHOD", "0"}, {"EVENT_DETECTION_CHANNEL_OR", "1-3, 7"},
                    {"EVENT_DETECTION_RMS_RATIO", "4.500000"}, {"EVENT_DETECTION_TIME_WINDOW_1", "200.000000"}};
  p.LoadDetectionParameters(product);
  EXPECT_EQ(p.nMethod, 0);
  EXPECT_EQ(p.nChannelList, (std::vector<int>{1, 2, 3, 7}));
  EXPECT_FLOAT_EQ(p.fRmsRatio, 4.5f);
  EXPECT_FLOAT_EQ(p.fTimeWindow1, 200.0f);
  EXPECT_FLOAT_EQ(p.fTimeWindow2, 500.0f);  // absent: stays
  MemoryStore saved;
  p.SaveDetectionParameters(saved);
  EXPECT_EQ(saved.values.size(), 8u);
  EXPECT_EQ(saved.values["EVENT_DETECTION_TIME_WINDOW_2"], "500.000000");
  EXPECT_EQ(saved.values["EVENT_DETECTION_CHANNEL_AND"], "0-512");

  EventDetectionParameters defaults;
  MemoryStore empty;
  defaults.LoadDetectionParameters(empty);
  EXPECT_EQ(defaults.nChannels, 512);
  EXPECT_EQ(defaults.nChannelList.back(), 511);
}

TEST(DetectionSettingsDialog, OkAppliesTheActiveListAndSwitchesDetectionOn) {
  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  CDlgEventDetectionParameters dialog(doc);
  EXPECT_EQ(dialog.sTimeWindow1, "100");
  EXPECT_EQ(dialog.sRmsRatio, "10");
  EXPECT_EQ(dialog.nMethod, 1);
  ASSERT_TRUE(dialog.OnOK().accepted);
  EXPECT_EQ(st.product.values["EVENT_DETECTION_CHANNEL_AND"], "0-511");
  EXPECT_EQ(doc.bEventDetection, 1);
  EXPECT_EQ(st.profile.values.count("bEventDetection"), 0u);  // only for this run
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Event detection active");

  CDlgEventDetectionParameters or_(doc);
  or_.nMethod = 0;
  or_.sChannelOr = "0-3, 5";
  or_.sChannelAnd = "7-9";
  or_.sRmsRatio = "3.5";
  ASSERT_TRUE(or_.OnOK().accepted);
  EXPECT_EQ(st.product.values["EVENT_DETECTION_CHANNEL_OR"], "0-3,5");
  EXPECT_EQ(st.product.values["EVENT_DETECTION_CHANNEL_AND"], "0-511");  // the inactive list stays
  EXPECT_EQ(doc.pDetectionParameters->nChannelList, (std::vector<int>{0, 1, 2, 3, 5}));
  EXPECT_EQ(st.product.values["EVENT_DETECTION_METHOD"], "0");
}

TEST(DetectionSettingsDialog, FieldsThatAreNoNumbersAreNamed) {
  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  CDlgEventDetectionParameters dialog(doc);
  dialog.sMinimumChannels = "five";
  auto out = dialog.OnOK();
  EXPECT_FALSE(out.accepted);
  EXPECT_EQ(out.prompt, "Enter an integer.");
  EXPECT_EQ(out.field, CDlgEventDetectionParameters::kMinimumChannels);
  dialog.sMinimumChannels = "3";
  dialog.sTimeWindow2 = "";
  out = dialog.OnOK();
  EXPECT_EQ(out.prompt, "Enter a number.");
  EXPECT_EQ(out.field, CDlgEventDetectionParameters::kTimeWindow2);
  EXPECT_TRUE(st.product.values.empty());
  EXPECT_EQ(doc.bEventDetection, 0);
}

TEST(EventDetectionSwitches, ActiveAndSendMail) {
  testing::StationFixture st;
  CZentrovaDoc& doc = st.Doc();
  ToggleSendMail(doc);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Detected event will be sent by e-mail");
  ToggleEventDetection(doc);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Event detection active (E-mail will be sent)");
  ToggleEventDetection(doc);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Event detection inactive");
  EXPECT_EQ(doc.bSendMail, 0);
  EXPECT_EQ(st.profile.values["bSendMail"], "1");  // cleared in memory only
  ToggleEventDetection(doc);
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Event detection active");
  EXPECT_EQ(st.profile.values["bEventDetection"], "1");
}

}  // namespace
}  // namespace zentrova
