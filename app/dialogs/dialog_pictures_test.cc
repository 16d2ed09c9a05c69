// Every dialog built over its model: its caption and the texts of its
// labels, check boxes, radio buttons and group boxes, and a picture of it
// in the build folder (pictures/dialogs/).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/dialogs/dialog_windows.h"
#include "app/dialogs/qt_dialogs.h"
#include "health/health_fixture.h"

namespace zentrova {
namespace {

std::vector<std::string> TextsOf(QWidget* window) {
  std::vector<std::string> texts;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    QString text;
    if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) text = group->title();
    if (!text.isEmpty()) texts.push_back(text.toStdString());
  }
  return texts;
}

std::string PictureFolder() {
  const std::string folder = std::string(ZENTROVA_BINARY_DIR) + "/pictures/dialogs";
  std::filesystem::create_directories(folder);
  return folder;
}

TEST(DialogTexts, CaptionsAndLabelsAreTheProgramsOwn) {
  testing::HealthFixture h;
  h.volumes.Add('C', 0.6);
  h.volumes.Add('D', 0.05);
  h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = "D:\\Data";
  CZentrovaDoc& doc = h.st.Doc();
  CDlgEventDetectionParameters detection(doc);
  CDlgBatteryWarning battery(doc);
  CDlgDriveSelector drives(doc, h.volumes);
  ReportTypeDialog reportType(doc);
  EmailSenderDialog sender(doc);

  const struct {
    const char* picture;
    std::function<std::unique_ptr<QWidget>()> make;
    const char* caption;
    std::vector<std::string> texts;
  } dialogs[] = {
      {"event_detection_parameters",
       [&] { return std::make_unique<DetectionParametersWindow>(detection, nullptr); },
       "Event detection parameters",
       {"Monitorin channels option", "OR Channel number(s)", "AND Channel number(s)",
        "(Either of these channels will detect)", "(All channels required for detection)",
        "Minimum number of channels",
        "For example: \"0-9, 15, 20\" means channel 0 through 9, channel 15 and 20", "Time window 1 (W1)",
        "Time window 2 (W2)", "msec", "Ratio (W2/W1)", "OK", "Cancel"}},
      {"battery_voltage_warning",
       [&] { return std::make_unique<BatteryWarningWindow>(battery, nullptr); },
       "Battery voltage warning",
       {"Send warning (default=11.0V)", "Shutdown PC (default=10.5V)", "OK", "Cancel"}},
      {"drive_selector",
       [&] { return std::make_unique<DriveSelectorWindow>(drives, nullptr); },
       "Drive selector",
       {"Automatic drive change", "Drive will switch to", "% of disk space", "Current", "Use", "Drive", "Used (%)",
        "Available (%)", "Total disk size (GB)", "OK", "Cancel"}},
      {"report",
       [&] { return std::make_unique<ReportTypeWindow>(reportType, nullptr); },
       "Report",
       {"E-mail", "Web server", "OK", "Cancel"}},
      {"integer_data_interval",
       [&] { return std::make_unique<IntegerWindow>("Set message interval", "Minutes", 60, nullptr); },
       "Integer data",
       {"Set message interval", "Minutes", "OK", "Cancel"}},
      {"integer_data_absence",
       [&] {
         return std::make_unique<IntegerWindow>("Enter file absence time to send warning", "minutes", 5, nullptr);
       },
       "Integer data",
       {"Enter file absence time to send warning", "minutes"}},
      {"integer_data_concatenate",
       [&] { return std::make_unique<IntegerWindow>("Enter data length in one file", "", 60, nullptr); },
       "Integer data",
       {"Enter data length in one file"}},
      {"edit_string_recipient",
       [&] { return std::make_unique<StringWindow>("Set E-mail address", "op@example.org", nullptr); },
       "Set E-mail address",
       {"OK", "Cancel"}},
      {"edit_string_message",
       [&] { return std::make_unique<StringWindow>("Message to be sent", "Message from Zentrova on SITE", nullptr); },
       "Message to be sent",
       {}},
      {"edit_string_server",
       [&] { return std::make_unique<StringWindow>("Server's URL", "http://127.0.0.1/r.php", nullptr); },
       "Server's URL",
       {}},
      {"edit_string_site_name",
       [&] { return std::make_unique<StringWindow>("Site name", "SITE", nullptr); },
       "Site name",
       {}},
      {"email_setting_sender",
       [&] { return std::make_unique<EmailSenderWindow>(sender, nullptr); },
       "E-mail setting (sender)",
       {"E-mail address", "SMTP server", "Port number", "Username", "Password", "OK", "Cancel"}},
      {"about",
       [&] { return std::unique_ptr<QWidget>(MakeAboutBox(nullptr).release()); },
       "About Zentrova",
       {"Zentrova, Version " ZENTROVA_PROJECT_VERSION}},
  };
  const std::string folder = PictureFolder();
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.picture);
    std::unique_ptr<QWidget> window = d.make();
    window->show();
    EXPECT_EQ(window->windowTitle().toStdString(), d.caption);
    const std::vector<std::string> texts = TextsOf(window.get());
    for (const std::string& t : d.texts) {
      EXPECT_NE(std::find(texts.begin(), texts.end(), t), texts.end()) << "missing: " << t;
    }
    const std::string path = folder + "/" + d.picture + ".png";
    EXPECT_TRUE(window->grab().save(QString::fromStdString(path)));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    window->close();
  }
  EXPECT_EQ(ProgramVersion(), ZENTROVA_PROJECT_VERSION);
}

}  // namespace
}  // namespace zentrova
