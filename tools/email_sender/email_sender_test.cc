// The sender program as the station starts it, against a real local SMTP
// server (aiosmtpd on 127.0.0.1).

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/local_servers.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::TempFolder;

TEST(EmailSender, TheMessageArrivesWithItsAttachmentsByteForByte) {
  TempFolder dir;
  testing::LocalSmtpServer server(dir);
  ASSERT_FALSE(server.port.empty()) << dir.Read("smtp.log");
  std::filesystem::create_directories(dir.Path("cfg"));
  dir.Write("cfg/product.ini", "[Kalvane Applications]\nSMTPServer=127.0.0.1\niPortNumber=" + server.port +
                                   "\nSenderEMailAddress=station@example.org\nReceiverEMailAddress=op@example.org\n"
                                   "SMTPUsername=\nSMTPPassword=\nstMessaggeTitle=Message from Zentrova at S1\n"
                                   "MessageToBeSent=S1\\n3 events were detected in 7\\nDrive = C: 25.000% is free\n");
  std::string binary;
  for (int i = 0; i < 70000; ++i) binary.push_back(static_cast<char>((i * 131) % 256));
  dir.Write("a b;c \"d\".sg2", binary);
  dir.Write("Waveform_7.png", "\x89PNG\r\n\x1a\nimage");
  ::setenv("ZENTROVA_CONFIG_DIR", dir.Path("cfg").c_str(), 1);
  auto run = testing::RunProcess({ZENTROVA_SENDER, dir.Path("a b;c \"d\".sg2"), dir.Path("Waveform_7.png"),
                                  dir.Path("missing.dat")});
  ::unsetenv("ZENTROVA_CONFIG_DIR");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("attachment not found, sent without it: " + dir.Path("missing.dat")), std::string::npos);
  for (int i = 0; i < 100 && !std::filesystem::exists(dir.Path("message-1.rcpt")); ++i) ::usleep(20000);
  const std::string eml = dir.Read("message-1.eml");
  EXPECT_NE(eml.find("Subject: Message from Zentrova at S1"), std::string::npos) << eml.substr(0, 600);
  EXPECT_NE(eml.find("3 events were detected in 7"), std::string::npos);
  EXPECT_EQ(dir.Read("message-1.rcpt"), "op@example.org");
  EXPECT_EQ(dir.Read("message-1-a b;c \"d\".sg2"), binary);
  EXPECT_EQ(dir.Read("message-1-Waveform_7.png"), "\x89PNG\r\n\x1a\nimage");
}

TEST(EmailSender, NoServerIsAFailureWithAReason) {
  TempFolder dir;
  std::filesystem::create_directories(dir.Path("cfg"));
  dir.Write("cfg/product.ini", "[Kalvane Applications]\nSMTPServer=127.0.0.1\niPortNumber=9\n"
                               "SenderEMailAddress=a@b\nReceiverEMailAddress=c@d\n");
  ::setenv("ZENTROVA_CONFIG_DIR", dir.Path("cfg").c_str(), 1);
  auto run = testing::RunProcess({ZENTROVA_SENDER});
  dir.Write("cfg/product.ini", "[Kalvane Applications]\n");
  auto unset = testing::RunProcess({ZENTROVA_SENDER});
  ::unsetenv("ZENTROVA_CONFIG_DIR");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("not sent: error 7"), std::string::npos) << run.err;
  EXPECT_EQ(unset.exitCode, 1);
  EXPECT_NE(unset.err.find("is not set"), std::string::npos);
}

}  // namespace
}  // namespace zentrova
