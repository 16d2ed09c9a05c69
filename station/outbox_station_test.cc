// The station's outgoing messages across stops and outages: zentrova-station
// and ZuveRadeRI.exe as real child processes, real local servers that are
// down, hang, or come up later.

#include <unistd.h>

#include <chrono>
#include <filesystem>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/local_servers.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::BackgroundProcess;
using testing::RunProcess;
using testing::TempFolder;

const std::string kStation = ZENTROVA_STATION;

void WriteSettings(const TempFolder& dir, const std::string& smtpPort, const std::string& httpPort,
                   const std::string& password = "") {
  std::filesystem::create_directories(dir.Path("watched"));
  std::filesystem::create_directories(dir.Path("cfg"));
  dir.Write("cfg/Zentrova.ini", "[General]\nZENTROVA_CURRENT_FOLDER_PATH=" + dir.Path("watched") +
                                    "\nZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=" + dir.Path("dest") +
                                    "\nsMyName=SITE\nbSnedReport=1\nbReportWebServer=1\nsServerURL=http://127.0.0.1:" +
                                    httpPort + "/report_registration.php\n");
  dir.Write("cfg/product.ini", "[Kalvane Applications]\nSMTPServer=127.0.0.1\niPortNumber=" + smtpPort +
                                   "\nSenderEMailAddress=station@example.org\nReceiverEMailAddress=op@example.org\n"
                                   "SMTPUsername=station\nSMTPPassword=" + password + "\n");
}

std::vector<std::string> Spool(const TempFolder& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path("cfg/outbox"), ec)) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string AllMessages(const TempFolder& dir) {
  std::string all;
  for (int i = 1; std::filesystem::exists(dir.Path("message-" + std::to_string(i) + ".eml")); ++i) {
    all += dir.Read("message-" + std::to_string(i) + ".eml");
  }
  return all;
}

// Stopped while both servers are away, the station keeps its messages on
// disk; started again with the servers back, it sends them.
TEST(StationOutbox, MessagesLeftByAStopAreSentAfterTheNextStart) {
  TempFolder dir, smtpDir, httpDir;
  const std::string smtpPort = testing::FreePort();
  const std::string httpPort = testing::FreePort();
  WriteSettings(dir, smtpPort, httpPort);
  auto first = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "1"});
  ASSERT_EQ(first.exitCode, 0) << first.err;
  EXPECT_NE(first.out.find("E-mail \"Zentrova started.\" was not delivered, will try again: ZuveRadeRI.exe: not "
                           "sent: error 7"),
            std::string::npos)
      << first.out;
  EXPECT_NE(first.out.find("Report form \"Zentrova started.\" was not delivered, will try again: Could not connect"),
            std::string::npos)
      << first.out;
  EXPECT_EQ(Spool(dir), (std::vector<std::string>{"form-000000000001.msg", "form-000000000002.msg",
                                                  "mail-000000000001.msg", "mail-000000000002.msg"}))
      << first.out;

  testing::LocalSmtpServer smtp(smtpDir, smtpPort);
  testing::LocalHttpServer http(httpDir, "", httpPort);
  ASSERT_FALSE(smtp.port.empty());
  ASSERT_FALSE(http.port.empty());
  auto second = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "2"});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(Count(second.out, "was delivered after 1 failed attempts"), 4u) << second.out;
  EXPECT_TRUE(Spool(dir).empty()) << ::testing::PrintToString(Spool(dir));
  for (int i = 0; i < 100 && !std::filesystem::exists(smtpDir.Path("message-4.rcpt")); ++i) ::usleep(50000);
  const std::string mail = AllMessages(smtpDir);
  EXPECT_EQ(Count(mail, "Zentrova started."), 2u) << mail;  // the first run's and the second's
  EXPECT_EQ(Count(mail, "Zentrova was closed."), 2u);
  const std::string forms = http.Record();
  EXPECT_EQ(Count(forms, "message=Zentrova+started."), 2u) << forms;
  EXPECT_EQ(Count(forms, "message=Zentrova+was+closed."), 2u);
}

// Both servers hang: the stop gives them one grace of 3 s in all, not 3 s
// each, and what did not go waits on disk for the next start.
TEST(StationOutbox, StoppingDoesNotWaitForHangingServers) {
  TempFolder dir, smtpDir, httpDir;
  testing::LocalHttpServer smtp(smtpDir, "--hang");  // accepts and never answers: an SMTP server that hangs
  testing::LocalHttpServer http(httpDir, "--hang");
  ASSERT_FALSE(smtp.port.empty());
  ASSERT_FALSE(http.port.empty());
  WriteSettings(dir, smtp.port, http.port);
  const auto start = std::chrono::steady_clock::now();
  auto run = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "0.5"});
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // 0.5 s of running, the shared grace of 3 s, and the start and end of a process.
  EXPECT_LT(seconds, 6.2) << run.out;
  EXPECT_EQ(Spool(dir).size(), 4u) << run.out;
  EXPECT_NE(run.out.find("zentrova-station: stopped"), std::string::npos);
}

// The SMTP password is read by the sender from product.ini and goes
// nowhere else: not on a command line, into the spool, the log file, the
// console or any other file the station and the sender write.
TEST(StationOutbox, TheSmtpPasswordStaysInProductIni) {
  TempFolder dir, smtpDir;
  testing::LocalSmtpServer smtp(smtpDir);  // offers no TLS: with a password the sender refuses to log in
  ASSERT_FALSE(smtp.port.empty());
  const std::string password = "Pw-7781-zq-secret";
  WriteSettings(dir, smtp.port, testing::FreePort(), password);
  auto run = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "1"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("E-mail \"Zentrova started.\" was not delivered, will try again: ZuveRadeRI.exe: not sent"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find(password), std::string::npos);
  EXPECT_EQ(run.err.find(password), std::string::npos);
  EXPECT_FALSE(Spool(dir).empty());
  size_t files = 0;
  for (const TempFolder* folder : {&dir, &smtpDir}) {
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder->path())) {
      if (!e.is_regular_file() || e.path() == dir.Path("cfg/product.ini")) continue;
      ++files;
      EXPECT_EQ(testing::ReadFileBytes(e.path().string()).find(password), std::string::npos) << e.path();
    }
  }
  EXPECT_GE(files, 3u);  // the profile, the spool, the log file at least
  EXPECT_NE(dir.Read("cfg/product.ini").find("SMTPPassword=" + password), std::string::npos);
}

// A spool file put into the outbox by other hands names the files its
// e-mail carries: what lies below the destination folder goes with it,
// another file of the operator's stays home, and the station says so.
TEST(StationOutbox, APlantedAttachmentOutsideTheDestinationStaysHome) {
  TempFolder dir, smtpDir;
  testing::LocalSmtpServer smtp(smtpDir);
  ASSERT_FALSE(smtp.port.empty());
  WriteSettings(dir, smtp.port, testing::FreePort());
  std::filesystem::create_directories(dir.Path("dest/WaveformFiles"));
  std::filesystem::create_directories(dir.Path("cfg/outbox"));
  dir.Write("dest/WaveformFiles/record.dat", "record bytes");
  dir.Write("private.txt", "private bytes");
  dir.Write("cfg/outbox/mail-000000000001.msg",
            "zentrova-outbox=1\nkind=mail\ncreated=1584259445\ntext=planted\ntitle=T\nbody=SITE\\nplanted\nsend=1\n"
            "attachment=" + dir.Path("dest/WaveformFiles/record.dat") + "\nattachment=" + dir.Path("private.txt") +
            "\n");
  auto run = RunProcess({kStation, "--config-dir", dir.Path("cfg"), "--run-for", "1"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("E-mail \"planted\": the attachment " + dir.Path("private.txt") +
                         " is not in the destination folder; the message goes without it"),
            std::string::npos)
      << run.out;
  int planted = 0;
  for (int i = 0; i < 100 && planted == 0; ++i) {
    for (int n = 1; std::filesystem::exists(smtpDir.Path("message-" + std::to_string(n) + ".rcpt")); ++n) {
      const std::string text = smtpDir.Read("message-" + std::to_string(n) + ".eml");
      if (text.find("SITE\r\nplanted") != std::string::npos) planted = n;
    }
    if (planted == 0) ::usleep(50000);
  }
  ASSERT_NE(planted, 0) << run.out;
  const std::string prefix = "message-" + std::to_string(planted) + "-";
  EXPECT_EQ(smtpDir.Read(prefix + "record.dat"), "record bytes");
  EXPECT_FALSE(std::filesystem::exists(smtpDir.Path(prefix + "private.txt")));
}

}  // namespace
}  // namespace zentrova
