// The sender program as the station starts it, against a real local SMTP
// server (aiosmtpd on 127.0.0.1).

#include <stdlib.h>
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/json.h"
#include "testing/local_servers.h"
#include "testing/temp_folder.h"
#include "platform/key_value_store.h"

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

// Settings for a sender that would reach the server; `extra` lines
// ("key=value\n") replace the values of their keys.
std::string ProductIni(const std::string& port, const std::string& extra = "") {
  std::vector<std::pair<std::string, std::string>> values = {
      {"SMTPServer", "127.0.0.1"},  {"iPortNumber", port}, {"SenderEMailAddress", "station@example.org"},
      {"ReceiverEMailAddress", "op@example.org"}, {"SMTPUsername", ""}, {"SMTPPassword", ""}};
  for (size_t start = 0; start < extra.size();) {
    const size_t end = extra.find('\n', start);
    const std::string line = extra.substr(start, end - start);
    start = end == std::string::npos ? extra.size() : end + 1;
    const std::string key = line.substr(0, line.find('='));
    const std::string value = line.substr(line.find('=') + 1);
    auto it = std::find_if(values.begin(), values.end(), [&](const auto& kv) { return kv.first == key; });
    if (it != values.end()) {
      it->second = value;
    } else {
      values.emplace_back(key, value);
    }
  }
  std::string ini = "[Kalvane Applications]\n";
  for (const auto& [k, v] : values) ini += k + "=" + v + "\n";
  return ini;
}

testing::Json ParseMessage(const std::string& path) {
  auto run = testing::RunProcess({"/usr/bin/python3", std::string(ZENTROVA_SOURCE_DIR) + "/testing/parse_mail.py", path});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return testing::Json::Parse(run.out);
}

void WaitForFile(const std::string& path) {
  for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i) ::usleep(20000);
}

// What arrives, read by Python's standard parser: a Date in local time with
// its offset, a unique Message-ID, the non-ASCII subject encoded, and a
// body of text lines.
TEST(EmailSender, MessagesAsMailServersExpectThem) {
  TempFolder dir;
  testing::LocalSmtpServer server(dir);
  ASSERT_FALSE(server.port.empty()) << dir.Read("smtp.log");
  std::filesystem::create_directories(dir.Path("cfg"));
  // Long enough for two encoded words on two header lines.
  const std::string title =
      "Message from Zentrova at \xc3\x98ster \xc3\x85s m\xc3\xa5lestasjon ved \xc3\x86r\xc3\xb8sk\xc3\xb8" "bing havn";
  const std::string body =
      "\xc3\x98ster \xc3\x85s\n3 events were detected in 7\nDrive = C: 25.000% is free\nBattery voltage = 12.6 V updated "
      "at 2020/03/15 08:00:00";
  dir.Write("cfg/product.ini", ProductIni(server.port, "stMessaggeTitle=" + title + "\nMessageToBeSent=" +
                                                          EscapeIniValue(body) + "\n"));
  dir.Write("plain.ini", ProductIni(server.port, "stMessaggeTitle=Plain\nMessageToBeSent=a\\nb\n"));
  ::setenv("ZENTROVA_CONFIG_DIR", dir.Path("cfg").c_str(), 1);
  ::setenv("TZ", "Europe/Oslo", 1);  // the sender's local time: +01:00 in winter, +02:00 in summer
  auto first = testing::RunProcess({ZENTROVA_SENDER, "", dir.Path("plain.ini")});
  WaitForFile(dir.Path("message-1.rcpt"));
  std::filesystem::copy_file(dir.Path("plain.ini"), dir.Path("cfg/product.ini"),
                             std::filesystem::copy_options::overwrite_existing);
  auto second = testing::RunProcess({ZENTROVA_SENDER});
  ::unsetenv("TZ");
  ::unsetenv("ZENTROVA_CONFIG_DIR");
  ASSERT_EQ(first.exitCode, 0) << first.err;
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(first.err, "");  // the empty argument names no attachment
  WaitForFile(dir.Path("message-2.rcpt"));
  const testing::Json a = ParseMessage(dir.Path("message-1.eml"));
  const testing::Json b = ParseMessage(dir.Path("message-2.eml"));
  EXPECT_EQ(a["defects"].size(), 0u);
  EXPECT_EQ(a["subject"].string(), title);
  EXPECT_TRUE(a["raw_subject_ascii"].boolean());  // encoded words, not raw 8-bit text
  EXPECT_EQ(a["text"].string(), body + "\n");
  EXPECT_FALSE(a["text_encoded_line_feeds"].boolean());
  EXPECT_TRUE(a["lines_end_crlf"].boolean());
  EXPECT_EQ(a["attachments"].size(), 1u);
  EXPECT_EQ(b["text"].string(), "a\nb\n");
  EXPECT_TRUE(b["lines_end_crlf"].boolean());
  // The date is the time of sending, in Oslo's offset for that moment.
  const double sent = a["date_epoch"].number();
  EXPECT_LT(std::abs(sent - static_cast<double>(::time(nullptr))), 120.0) << a["date"].string();
  const int offset = static_cast<int>(a["date_offset_minutes"].number());
  EXPECT_TRUE(offset == 60 || offset == 120) << a["date"].string();
  const std::string id = a["message_id"].string();
  EXPECT_EQ(id.front(), '<');
  EXPECT_NE(id.find("@example.org>"), std::string::npos) << id;
  EXPECT_NE(id, b["message_id"].string());
}

// Each bad argument and bad setting: the exit status and the first line.
TEST(EmailSender, BadArgumentsAndSettingsGiveAReason) {
  TempFolder dir;
  testing::LocalSmtpServer server(dir);  // reachable, so that only the reason stops a message
  ASSERT_FALSE(server.port.empty());
  std::filesystem::create_directories(dir.Path("cfg"));
  struct Case {
    std::vector<std::string> arguments;
    std::string ini;
    int exitCode;
    bool onStdout;
    std::string firstLine;
  };
  const std::string notSent = "ZuveRadeRI.exe: not sent: ";
  const Case cases[] = {
      {{"--help"}, ProductIni(server.port), 0, true, "usage: ZuveRadeRI.exe [FILE...]"},
      {{"-h"}, ProductIni(server.port), 0, true, "usage: ZuveRadeRI.exe [FILE...]"},
      {{"--bogus"}, ProductIni(server.port), 2, false, "ZuveRadeRI.exe: unknown option --bogus"},
      {{"/a.sg2", "-x"}, ProductIni(server.port), 2, false, "ZuveRadeRI.exe: unknown option -x"},
      {{}, ProductIni("abc"), 1, false,
       notSent + "iPortNumber \"abc\" is not a port number (1 to 65535; 587 for STARTTLS, 465 for TLS)"},
      {{}, ProductIni("99999"), 1, false,
       notSent + "iPortNumber \"99999\" is not a port number (1 to 65535; 587 for STARTTLS, 465 for TLS)"},
      {{}, ProductIni("0"), 1, false,
       notSent + "iPortNumber \"0\" is not a port number (1 to 65535; 587 for STARTTLS, 465 for TLS)"},
      {{}, ProductIni(server.port, "SMTPServer=smtp://127.0.0.1\n"), 1, false,
       notSent + "SMTPServer \"smtp://127.0.0.1\" is a URL; give the mail server's host name only"},
      {{}, ProductIni(server.port, "SMTPServer=file:///etc/passwd\n"), 1, false,
       notSent + "SMTPServer \"file:///etc/passwd\" is a URL; give the mail server's host name only"},
      {{}, ProductIni(server.port, "SMTPServer=gopher://127.0.0.1:70\n"), 1, false,
       notSent + "SMTPServer \"gopher://127.0.0.1:70\" is a URL; give the mail server's host name only"},
      {{}, ProductIni(server.port, "SMTPServer=mail host\n"), 1, false,
       notSent + "SMTPServer \"mail host\" is not a host name"},
      {{}, ProductIni(server.port, "ReceiverEMailAddress=operator\n"), 1, false,
       notSent + "ReceiverEMailAddress \"operator\" is not an e-mail address"},
      {{}, ProductIni(server.port, "SenderEMailAddress=a@b>\n"), 1, false,
       notSent + "SenderEMailAddress \"a@b>\" is not an e-mail address"},
      {{}, "[Kalvane Applications]\n", 1, false,
       notSent + "SMTPServer, SenderEMailAddress or ReceiverEMailAddress is not set"},
  };
  ::setenv("ZENTROVA_CONFIG_DIR", dir.Path("cfg").c_str(), 1);
  for (const Case& c : cases) {
    dir.Write("cfg/product.ini", c.ini);
    std::vector<std::string> argv = {ZENTROVA_SENDER};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    auto run = testing::RunProcess(argv);
    const std::string& text = c.onStdout ? run.out : run.err;
    EXPECT_EQ(run.exitCode, c.exitCode) << ::testing::PrintToString(c.arguments) << c.ini;
    EXPECT_EQ(text.substr(0, text.find('\n')), c.firstLine) << ::testing::PrintToString(c.arguments) << c.ini;
  }
  ::unsetenv("ZENTROVA_CONFIG_DIR");
  ::usleep(200000);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("message-1.eml"))) << "a bad call sent a message";
}

}  // namespace
}  // namespace zentrova
