#include "app/dialogs/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QThread>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QFileDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

#include "app/dialogs/dialog_windows.h"
#include "app/dialogs/modal_script.h"
#include "health/health_fixture.h"
#include "monitor/control_form.h"

namespace zentrova {
namespace {

using testing::Control;
using testing::ModalScript;
using testing::SetText;
using testing::Text;

void PressOK(QWidget* w) { Control<QPushButton>(w, 1)->click(); }
// Enter in the edit with the control number: the default button, "OK".
void PressEnterIn(QWidget* w, int id) { QTest::keyClick(Control(w, id), Qt::Key_Return); }
void PressEscape(QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }
std::string Focused(QWidget* w) { return w->focusWidget() ? w->focusWidget()->objectName().toStdString() : "(none)"; }

class QtDialogs : public ::testing::Test {
 protected:
  CZentrovaDoc& Doc() { return h.st.Doc(); }
  testing::HealthFixture h;
};

// --- Event detection parameters ---

class DetectionDialog : public QtDialogs {
 protected:
  DetectionDialog() {
    auto& p = h.st.product.values;
    p["EVENT_DETECTION_METHOD"] = "0";
    p["EVENT_DETECTION_CHANNEL_OR"] = "1-3";
    p["EVENT_DETECTION_CHANNEL_AND"] = "0-7";
    p["EVENT_DETECTION_TIME_WINDOW_1"] = "150.500000";
    p["EVENT_DETECTION_RMS_RATIO"] = "4.000000";
    p["EVENT_DETECTION_MINIMUM_N_CHANNEL"] = "3";
  }
};

TEST_F(DetectionDialog, OpensWithTheStoredValuesAndOKStoresTheEdits) {
  CZentrovaDoc& doc = Doc();
  ModalScript script;
  std::vector<std::string> shown;
  script.On("Event detection parameters", [&](QWidget* w) {
    shown = {Control<QRadioButton>(w, 1691)->isChecked() ? "OR" : "AND", Text(w, 1693), Text(w, 1694),
             Text(w, 1695), Text(w, 1696), Text(w, 1697), Text(w, 1085)};
    SetText(w, 1693, "0-9, 15, 20");
    SetText(w, 1696, "120");
    SetText(w, 1694, "5");  // the inactive list: discarded
    PressEnterIn(w, 1693);
  });
  EXPECT_TRUE(ShowDetectionParameters(doc, nullptr));
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(script.faults.empty()) << script.faults.front();
  EXPECT_EQ(shown, (std::vector<std::string>{"OR", "1-3", "0-7", "3", "150.5", "500", "4"}));
  auto& p = h.st.product.values;
  EXPECT_EQ(p["EVENT_DETECTION_CHANNEL_OR"], "0-9,15,20");
  EXPECT_EQ(p["EVENT_DETECTION_CHANNEL_AND"], "0-7");
  EXPECT_EQ(p["EVENT_DETECTION_METHOD"], "0");
  EXPECT_EQ(p["EVENT_DETECTION_TIME_WINDOW_1"], "120.000000");
  EXPECT_EQ(doc.bEventDetection, 1);
}

TEST_F(DetectionDialog, AFieldThatIsNoNumberKeepsTheDialogOpenOnIt) {
  CZentrovaDoc& doc = Doc();
  const struct {
    int field;
    const char* text;
    const char* prompt;
  } cases[] = {{1695, "x", "Enter an integer."},
               {1696, "abc", "Enter a number."},
               {1697, "", "Enter a number."},
               {1085, "ten", "Enter a number."}};
  const auto before = h.st.product.values;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.field);
    ModalScript script;
    std::string focused;
    bool stillOpen = false;
    script
        .On("Event detection parameters",
            [&](QWidget* w) {
              SetText(w, c.field, c.text);
              PressOK(w);
            })
        .Message()
        .On("Event detection parameters", [&](QWidget* w) {
          stillOpen = w->isVisible();
          focused = Focused(w);
          PressEscape(w);
        });
    EXPECT_FALSE(ShowDetectionParameters(doc, nullptr));
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(script.faults.empty()) << script.faults.front();
    EXPECT_EQ(script.texts, std::vector<std::string>{c.prompt});
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(focused, std::to_string(c.field));
  }
  EXPECT_EQ(h.st.product.values, before);
  EXPECT_EQ(doc.bEventDetection, 0);
}

TEST_F(DetectionDialog, TabGoesThroughTheFieldsInTheirOrder) {
  CDlgEventDetectionParameters model(Doc());
  std::unique_ptr<QDialog> w(new DetectionParametersWindow(model, nullptr));
  std::vector<std::string> order;
  QWidget* first = Control(w.get(), 1691);
  QWidget* at = first;
  do {
    if (at->focusPolicy() & Qt::TabFocus) order.push_back(at->objectName().toStdString());
    at = at->nextInFocusChain();
  } while (at != first && order.size() < 20);
  order.resize(8);
  EXPECT_EQ(order, (std::vector<std::string>{"1691", "1693", "1692", "1694", "1695", "1696", "1697", "1085"}));
}

// --- Send warning: the integer dialog and "Battery voltage warning" ---

TEST_F(QtDialogs, SendWarningAsksTheAbsenceTimeAndTheThresholds) {
  CZentrovaDoc& doc = Doc();
  EventLoop loop(h.st.clock);
  CZentrovaControlForm form(doc, loop);
  ModalScript script;
  std::vector<std::string> shown;
  std::string focused;
  script
      .On("Integer data",
          [&](QWidget* w) {
            shown = {Control<QLabel>(w, 1002)->text().toStdString(), Control<QLabel>(w, 1003)->text().toStdString(),
                     Text(w, 1001)};
            SetText(w, 1001, "12");
            PressEnterIn(w, 1001);
          })
      .On("Battery voltage warning",
          [&](QWidget* w) {
            shown.push_back(Text(w, 1022));
            shown.push_back(Text(w, 1023));
            SetText(w, 1022, "11.5");
            SetText(w, 1023, "low");
            PressOK(w);
          })
      .Message()
      .On("Battery voltage warning", [&](QWidget* w) {
        focused = Focused(w);
        SetText(w, 1023, "10.8");
        PressOK(w);
      });
  ToggleWarning(doc, form, QtWarningDialogs(nullptr));
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(script.faults.empty()) << script.faults.front();
  EXPECT_EQ(shown,
            (std::vector<std::string>{"Enter file absence time to send warning", "minutes", "5", "11", "10.5"}));
  EXPECT_EQ(script.texts, std::vector<std::string>{"Enter a number."});
  EXPECT_EQ(focused, "1023");
  EXPECT_EQ(doc.bWarning, 1);
  EXPECT_TRUE(form.BatteryTimerRunning());
  auto& v = h.st.profile.values;
  EXPECT_EQ(v["nMinNoFile"], "12");
  EXPECT_EQ(v["fBatteryWarning"], "11.500000");
  EXPECT_EQ(v["fBatteryShutdown"], "10.800000");
}

TEST_F(QtDialogs, CancellingTheWarningDialogsStoresOnlyWhatWasConfirmed) {
  CZentrovaDoc& doc = Doc();
  EventLoop loop(h.st.clock);
  CZentrovaControlForm form(doc, loop);
  {
    // A wrong absence time, then Escape: nothing at all.
    ModalScript script;
    script
        .On("Integer data",
            [](QWidget* w) {
              SetText(w, 1001, "soon");
              PressOK(w);
            })
        .Message()
        .On("Integer data", [](QWidget* w) { PressEscape(w); });
    ToggleWarning(doc, form, QtWarningDialogs(nullptr));
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(script.texts, std::vector<std::string>{"Enter an integer."});
    EXPECT_EQ(h.st.profile.values.count("nMinNoFile"), 0u);
  }
  {
    // The time confirmed, the thresholds closed with the window's close button.
    ModalScript script;
    script
        .On("Integer data",
            [](QWidget* w) {
              SetText(w, 1001, "7");
              PressOK(w);
            })
        .On("Battery voltage warning", [](QWidget* w) {
          SetText(w, 1022, "12");
          w->close();
        });
    ToggleWarning(doc, form, QtWarningDialogs(nullptr));
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(script.faults.empty()) << script.faults.front();
  }
  EXPECT_EQ(h.st.profile.values["nMinNoFile"], "7");
  EXPECT_EQ(h.st.profile.values.count("fBatteryWarning"), 0u);
  EXPECT_EQ(doc.bWarning, 0);
  EXPECT_FALSE(form.BatteryTimerRunning());
}

// --- Drive selector ---

class DriveDialog : public QtDialogs {
 protected:
  DriveDialog() {
    h.volumes.Add('C', 0.6);
    h.volumes.Add('D', 0.05);
    h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"] = "D:\\Data";
    h.st.profile.values["iCurrentDrive"] = "1";
  }
};

TEST_F(DriveDialog, ShowsTheTableAndOKAppliesTheChoice) {
  CZentrovaDoc& doc = Doc();
  ModalScript script;
  std::vector<std::string> shown;
  std::string focused;
  bool hidden = false, currentD = false;
  script
      .On("Drive selector",
          [&](QWidget* w) {
            shown = {Text(w, 1021), Text(w, 1022), Text(w, 1052), Text(w, 1042), Text(w, 1062), Text(w, 1006)};
            hidden = Control(w, 1023)->isHidden() && Control(w, 1033)->isHidden() && !Control(w, 1022)->isHidden();
            currentD = Control<QRadioButton>(w, 1032)->isChecked();
            SetText(w, 1006, "most");
            PressOK(w);
          })
      .Message()
      .On("Drive selector", [&](QWidget* w) {
        focused = Focused(w);
        SetText(w, 1006, "95");
        Control<QRadioButton>(w, 1031)->click();  // drive C
        Control<QCheckBox>(w, 1012)->click();     // D no longer in use
        PressEnterIn(w, 1006);
      });
  EXPECT_TRUE(ShowDriveSelector(doc, h.volumes, nullptr));
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(script.faults.empty()) << script.faults.front();
  EXPECT_EQ(h.st.prompt.shown.front(), "Number of drive=2");
  EXPECT_EQ(shown, (std::vector<std::string>{"C", "D", "95.0", "5.0", "1.00", "90"}));
  EXPECT_TRUE(hidden);
  EXPECT_TRUE(currentD);
  EXPECT_EQ(script.texts, std::vector<std::string>{"Enter a number."});
  EXPECT_EQ(focused, "1006");
  auto& v = h.st.profile.values;
  EXPECT_EQ(v["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"], "C:\\Data");
  EXPECT_EQ(v["dDiskSpaceRatio"], "0.950000");
  EXPECT_EQ(v["bActive_0"], "1");
  EXPECT_EQ(v["bActive_1"], "0");
  EXPECT_EQ(v["iCurrentDrive"], "0");
  EXPECT_EQ(doc.activityLog.GetAt(doc.activityLog.Count() - 1), "Destination folder path is C:\\Data");
}

TEST_F(DriveDialog, EscapeChangesNothing) {
  CZentrovaDoc& doc = Doc();
  const int lines = doc.activityLog.Count();
  ModalScript script;
  script.On("Drive selector", [](QWidget* w) {
    Control<QRadioButton>(w, 1031)->click();
    SetText(w, 1006, "50");
    PressEscape(w);
  });
  EXPECT_FALSE(ShowDriveSelector(doc, h.volumes, nullptr));
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(h.st.profile.values["ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH"], "D:\\Data");
  EXPECT_EQ(h.st.profile.values.count("dDiskSpaceRatio"), 0u);
  EXPECT_EQ(doc.settingsBlock.strDestinationFolder, "D:\\Data");
  EXPECT_EQ(doc.activityLog.Count(), lines);
}

// --- Send report: "Report" and the interval ---

TEST_F(QtDialogs, SendReportAsksTheTypeAndTheInterval) {
  CZentrovaDoc& doc = Doc();
  EventLoop loop(h.st.clock);
  CZentrovaControlForm form(doc, loop);
  ModalScript script;
  std::vector<std::string> shown;
  std::string focused;
  script
      .On("Report",
          [&](QWidget* w) {
            shown = {Control<QCheckBox>(w, 1024)->isChecked() ? "mail" : "-",
                     Control<QCheckBox>(w, 1025)->isChecked() ? "web" : "-"};
            Control<QCheckBox>(w, 1025)->click();
            PressOK(w);
          })
      .On("Integer data",
          [&](QWidget* w) {
            shown.push_back(Control<QLabel>(w, 1002)->text().toStdString());
            shown.push_back(Control<QLabel>(w, 1003)->text().toStdString());
            shown.push_back(Text(w, 1001));
            SetText(w, 1001, "a quarter");
            PressEnterIn(w, 1001);
          })
      .Message()
      .On("Integer data", [&](QWidget* w) {
        focused = Focused(w);
        SetText(w, 1001, "15");
        PressEnterIn(w, 1001);
      });
  OnSendReport(doc, form, QtReportDialogs(nullptr));
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(script.faults.empty()) << script.faults.front();
  EXPECT_EQ(shown, (std::vector<std::string>{"mail", "-", "Set message interval", "Minutes", "60"}));
  EXPECT_EQ(script.texts, std::vector<std::string>{"Enter an integer."});
  EXPECT_EQ(focused, "1001");
  auto& v = h.st.profile.values;
  EXPECT_EQ(v["bReportWebServer"], "1");
  EXPECT_EQ(v["bReportEMail"], "1");
  EXPECT_EQ(v["iReportInterval"], "15");
  EXPECT_EQ(v["bSnedReport"], "1");
  EXPECT_TRUE(form.ReportTimerRunning());
}

TEST_F(QtDialogs, CancellingTheReportTypeStartsNothing) {
  CZentrovaDoc& doc = Doc();
  EventLoop loop(h.st.clock);
  CZentrovaControlForm form(doc, loop);
  ModalScript script;
  script.On("Report", [](QWidget* w) {
    Control<QCheckBox>(w, 1025)->click();
    Control<QPushButton>(w, 2)->click();  // "Cancel"
  });
  OnSendReport(doc, form, QtReportDialogs(nullptr));
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(h.st.profile.values.count("bReportWebServer"), 0u);
  EXPECT_EQ(doc.bSnedReport, 0);
  EXPECT_FALSE(form.ReportTimerRunning());
}

// --- E-mail setting (sender) ---

TEST_F(QtDialogs, SenderSettingsAreReadAndWrittenBack) {
  auto& p = h.st.product.values;
  p["SenderEMailAddress"] = "station@example.org";
  p["SMTPServer"] = "mail.example.org";
  p["iPortNumber"] = "25";
  p["SMTPUsername"] = "station";
  p["SMTPPassword"] = "old";
  CZentrovaDoc& doc = Doc();
  {
    ModalScript script;
    script.On("E-mail setting (sender)", [](QWidget* w) {
      SetText(w, 1025, "new");
      PressEscape(w);
    });
    EXPECT_FALSE(ShowEmailSender(doc, nullptr));
    EXPECT_EQ(p["SMTPPassword"], "old");
  }
  ModalScript script;
  std::vector<std::string> shown;
  bool masked = false;
  std::string focused;
  script
      .On("E-mail setting (sender)",
          [&](QWidget* w) {
            shown = {Text(w, 1021), Text(w, 1022), Text(w, 1023), Text(w, 1024), Text(w, 1025)};
            masked = Control<QLineEdit>(w, 1025)->echoMode() == QLineEdit::Password;
            SetText(w, 1023, "smtp");
            PressOK(w);
          })
      .Message()
      .On("E-mail setting (sender)", [&](QWidget* w) {
        focused = Focused(w);
        SetText(w, 1023, "465");
        SetText(w, 1025, "secret");
        PressEnterIn(w, 1025);
      });
  EXPECT_TRUE(ShowEmailSender(doc, nullptr));
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(script.faults.empty()) << script.faults.front();
  EXPECT_EQ(shown, (std::vector<std::string>{"station@example.org", "mail.example.org", "25", "station", "old"}));
  EXPECT_TRUE(masked);
  EXPECT_EQ(script.texts, std::vector<std::string>{"Enter an integer."});
  EXPECT_EQ(focused, "1023");
  EXPECT_EQ(p["iPortNumber"], "465");
  EXPECT_EQ(p["SMTPPassword"], "secret");
  EXPECT_EQ(p["SMTPServer"], "mail.example.org");
}

// --- The string dialog and the prompt ---

TEST_F(QtDialogs, TheStringDialogCarriesTheCallersCaption) {
  CZentrovaDoc& doc = Doc();
  doc.settingsBlock.sServerURL = "http://old.example.org/r.php";
  ModalScript script;
  std::string shown;
  script.On("Server's URL", [&](QWidget* w) {
    shown = Text(w, 1004);
    SetText(w, 1004, "http://127.0.0.1:9/r.php");
    PressEnterIn(w, 1004);
  });
  OnServerUrl(doc, QtReportDialogs(nullptr));
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(shown, "http://old.example.org/r.php");
  EXPECT_EQ(doc.settingsBlock.sServerURL, "http://127.0.0.1:9/r.php");
  EXPECT_EQ(h.st.profile.values["sServerURL"], "http://127.0.0.1:9/r.php");

  ModalScript cancel;
  cancel.On("Site name", [](QWidget* w) {
    SetText(w, 1004, "ELSEWHERE");
    PressEscape(w);
  });
  EXPECT_EQ(AskText(nullptr, "Site name", "SITE"), std::nullopt);
  EXPECT_TRUE(cancel.Done());
}

// The message boxes open now (the message board's), oldest first.
std::vector<QMessageBox*> ShownMessages() {
  std::vector<QMessageBox*> boxes;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (box && box->isVisible() && box->windowTitle() == "Zentrova" && box->button(QMessageBox::Ok) &&
        !box->button(QMessageBox::Cancel)) {
      boxes.push_back(box);
    }
  }
  return boxes;
}

TEST(QtPromptTest, MessageBoxesAndTheIntegerDialog) {
  QtPrompt prompt;
  ModalScript script;
  std::string label;
  bool buttons = false;
  script.On("Zentrova", [](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click(); })
      .On("Zentrova", [](QWidget* w) { PressEscape(w); })
      .On("Zentrova", [&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        buttons = box->button(QMessageBox::Ok) && box->button(QMessageBox::Cancel) && !box->button(QMessageBox::Yes);
        box->button(QMessageBox::Ok)->click();
      })
      .On("Zentrova", [](QWidget* w) { PressEscape(w); })
      .On("Integer data", [&](QWidget* w) {
        label = Control<QLabel>(w, 1002)->text().toStdString();
        SetText(w, 1001, "3600");
        PressEnterIn(w, 1001);
      })
      .On("Integer data", [](QWidget* w) { PressEscape(w); });
  prompt.Show("Wrong data length.");  // a message does not wait: its box stays open beside the questions
  EXPECT_TRUE(prompt.AskYesNo("Do you want to correct overlap ?"));
  EXPECT_FALSE(prompt.AskYesNo("Do you want to correct overlap ?"));
  EXPECT_TRUE(prompt.AskOkCancel("Are you sure to shutdown?"));
  EXPECT_TRUE(buttons);
  EXPECT_FALSE(prompt.AskOkCancel("Are you sure to shutdown?"));
  EXPECT_EQ(prompt.AskInteger("Enter data length in one file", 60), 3600);
  EXPECT_EQ(prompt.AskInteger("Enter data length in one file", 60), std::nullopt);
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(script.faults.empty()) << script.faults.front();
  const std::vector<QMessageBox*> shown = ShownMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0]->text().toStdString(), "Wrong data length.");
  EXPECT_EQ(label, "Enter data length in one file");
}

// The monitor thread never touches a widget: its messages are shown by the
// GUI thread; a message does not hold the thread up, a question waits for
// the answer.
TEST(QtPromptTest, MessagesFromAnotherThreadAreShownOnTheGuiThread) {
  QtPrompt prompt;
  ModalScript script;
  std::vector<std::string> asked;
  bool onGui = true;
  script.On("Zentrova", [&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    onGui = onGui && QThread::currentThread() == qApp->thread();
    asked.push_back(box->text().toStdString());
    box->button(QMessageBox::Ok)->click();
  });
  QEventLoop loop;
  bool yes = false;
  std::atomic<bool> finished{false};
  QTimer watch;  // the worker itself touches no Qt object
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (finished && !ShownMessages().empty()) loop.quit();
  });
  watch.start(1);
  std::thread worker([&] {
    prompt.Show("No surface wave data.");
    yes = prompt.AskOkCancel("Are you sure to shutdown?");
    finished = true;
  });
  loop.exec();
  worker.join();
  EXPECT_TRUE(yes);
  EXPECT_TRUE(onGui);
  EXPECT_EQ(asked, std::vector<std::string>{"Are you sure to shutdown?"});
  const std::vector<QMessageBox*> shown = ShownMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0]->text().toStdString(), "No surface wave data.");
  EXPECT_EQ(shown[0]->thread(), qApp->thread());
  EXPECT_TRUE(script.faults.empty()) << script.faults.front();
}

// A message never runs a modal loop: Show returns with its box open. The
// same text again counts in that box; another text gets a box of its own,
// up to the board's limit; a box the operator closed comes anew.
TEST(QtPromptTest, AMessageDoesNotWaitAndARepeatedOneCountsInItsBox) {
  QtPrompt prompt;
  bool ranInsideShow = false;
  bool showing = false;
  QTimer closer;  // should a box be modal, nobody answers it: it is closed
  QObject::connect(&closer, &QTimer::timeout, [&] {
    ranInsideShow = ranInsideShow || showing;
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) modal->reject();
  });
  closer.start(5);
  const std::string text = " Number of samples is too large ! \n\n Data will be truncated. ";
  for (int i = 0; i < 60; ++i) {
    showing = true;
    prompt.Show(text);
    showing = false;
  }
  EXPECT_FALSE(ranInsideShow) << "Show ran an event loop of its own";
  std::vector<QMessageBox*> shown = ShownMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0]->text().toStdString(), text);
  EXPECT_EQ(shown[0]->informativeText().toStdString(), "This message came 60 times.");
  EXPECT_FALSE(shown[0]->isModal());

  for (int i = 0; i < MessageBoard::kMaxBoxes + 3; ++i) prompt.Show("Gain of " + std::to_string(i) + " traces were manualy changed.");
  shown = ShownMessages();
  ASSERT_EQ(shown.size(), static_cast<size_t>(MessageBoard::kMaxBoxes));
  // The oldest went: the repeated message's box, then the first three others.
  std::vector<std::string> texts, newest;
  for (QMessageBox* box : shown) texts.push_back(box->text().toStdString());
  for (int i = 3; i < MessageBoard::kMaxBoxes + 3; ++i) newest.push_back("Gain of " + std::to_string(i) + " traces were manualy changed.");
  std::sort(texts.begin(), texts.end());
  std::sort(newest.begin(), newest.end());
  EXPECT_EQ(texts, newest);

  for (QMessageBox* box : shown) box->button(QMessageBox::Ok)->click();
  prompt.Show(text);
  shown = ShownMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0]->informativeText().toStdString(), "");
}

// --- The folder browser and the controller's file ---

TEST(FolderBrowser, ChoosesAFolderAndOffersANewOneOnlyWhenAsked) {
  testing::TempFolder root;
  const std::string site = root.Path("site1");
  std::filesystem::create_directory(site);
  bool newFolder = true;
  ModalScript script;
  script
      .On("Select a folder",
          [&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            auto* button = w->findChild<QToolButton*>(QStringLiteral("newFolderButton"));
            newFolder = button != nullptr && button->isEnabled();
            dialog->setDirectory(QString::fromStdString(site));
            static_cast<QDialog*>(dialog)->accept();  // as the "Choose"/"Open" button does
          })
      .On("Select Folder",
          [&](QWidget* w) {
            auto* button = w->findChild<QToolButton*>(QStringLiteral("newFolderButton"));
            newFolder = newFolder || (button != nullptr && button->isEnabled());
            PressEscape(w);
          });
  EXPECT_EQ(BrowseFolder(nullptr, "Select a folder", root.path(), false), site);
  EXPECT_FALSE(newFolder);
  EXPECT_EQ(BrowseFolder(nullptr, "Select Folder", root.path(), true), std::nullopt);
  EXPECT_TRUE(newFolder);
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(script.faults.empty()) << script.faults.front();
}

TEST(ControllerFile, TheOpenDialogPresetsTheFileName) {
  testing::TempFolder root;
  root.Write("TC.exe", "");
  const std::string tc = root.Path("TC.exe");
  ModalScript script;
  std::string name;
  script.On("Open", [&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    name = dialog->selectedFiles().value(0).toStdString();
    static_cast<QDialog*>(dialog)->accept();  // as the "Choose"/"Open" button does
  });
  EXPECT_EQ(ChooseControllerFile(nullptr, tc), tc);
  EXPECT_EQ(name, tc);
  EXPECT_TRUE(script.Done());
}

}  // namespace
}  // namespace zentrova

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
