#include "notify/form_post.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/local_servers.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

TEST(FormPost, EncodingAndBody) {
  EXPECT_EQ(EncodeFormText("a b&c"), "a+b%26c");
  EXPECT_EQ(EncodeFormText("x.y-z_1"), "x.y-z_1");
  EXPECT_EQ(EncodeFormText("12:30"), "12%3A30");
  EXPECT_EQ(EncodeFormText("2:0:0:0"), "2%3A0%3A0%3A0");
  EXPECT_EQ(EncodeFormText("\xe9\n"), "%E9%0A");
  const FormFields values = {"Site 1", "Mail was sent", "12.3", "1234", "D", "25.000", "2020-03-15 08:04:05",
                             "2:0:0:0"};
  EXPECT_EQ(FormBody(kFormNames, values),
            "pc_name=Site+1&message=Mail+was+sent&battery_voltage=12.3&file_id=1234&drive_name=D&disk_space=25.000"
            "&date_time=2020-03-15+08%3A04%3A05&version=2%3A0%3A0%3A0");
}

TEST(FormPost, TheBodyArrivesAsItIsWritten) {
  testing::TempFolder dir;
  testing::LocalHttpServer server(dir);
  CurlHttpClient http;
  const FormFields values = {"Site 1", "a b&c", "12.6", "-1", "C", "50.000", "2020-03-15 08:04:05", "2:0:0:0"};
  EXPECT_EQ(PostForm(http, server.Url("/report_registration.php"), kFormNames, values), "registered");
  const std::string record = server.Record();
  EXPECT_NE(record.find("PATH /report_registration.php\n"), std::string::npos) << record;
  EXPECT_NE(record.find("HEADER Content-type: application/x-www-form-urlencoded\n"), std::string::npos) << record;
  EXPECT_NE(record.find("HEADER User-Agent: HTTP Post Zentrova\n"), std::string::npos) << record;
  EXPECT_NE(record.find("BODY " + FormBody(kFormNames, values) + "\n"), std::string::npos) << record;

  EXPECT_EQ(ConnectionTest(http, server.Url("/t"), "2020-03-15 08:04:05"), "registered");
  const std::string test = server.Record();
  EXPECT_NE(test.find("&date_time=2020-03-15+08%3A04%3A05&=\n"), std::string::npos) << test;
}

TEST(FormPost, UnreachableAndSilentServers) {
  CurlHttpClient http(2, 2);
  const FormFields values{};
  const std::string refused = PostForm(http, "http://127.0.0.1:9/x", kFormNames, values);
  EXPECT_EQ(refused.rfind("Could not connect to a server. \r\nError : 7\r\n", 0), 0u) << refused;
  const std::string bad = PostForm(http, "http://no such host/", kFormNames, values);
  EXPECT_EQ(bad.rfind("Could not connect to a server. \r\nError : ", 0), 0u) << bad;
  // A name that never resolves (the .invalid domain), bounded by the connect time-out.
  const auto asked = std::chrono::steady_clock::now();
  const std::string unknown = PostForm(http, "http://report.zentrova.invalid/x", kFormNames, values);
  EXPECT_EQ(unknown.rfind("Could not connect to a server. \r\nError : 6\r\n", 0), 0u) << unknown;
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(5));

  testing::TempFolder dir;
  testing::LocalHttpServer hanging(dir, "--hang");
  const auto start = std::chrono::steady_clock::now();
  const std::string silent = PostForm(http, hanging.Url("/x"), kFormNames, values);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(silent.rfind("Could not connect to a server. \r\nError : 28\r\n", 0), 0u) << silent;  // time-out
  EXPECT_LT(seconds, 10.0);
}

// Posts reach web servers only: every other URL is refused with a reason
// before anything is sent, also when a server of that kind listens there.
TEST(FormPost, OnlyWebUrlsAreTaken) {
  testing::TempFolder httpDir, smtpDir;
  testing::LocalHttpServer server(httpDir);
  testing::LocalSmtpServer smtp(smtpDir);
  ASSERT_FALSE(server.port.empty());
  ASSERT_FALSE(smtp.port.empty());
  CurlHttpClient http(2, 5);
  const FormFields values = {"S1", "m", "12.6", "-1", "C", "50.000", "2020-03-15 08:04:05", "2:0:0:0"};
  struct Case {
    std::string url;
    std::string reason;  // empty: taken
  };
  const std::string refused = "Could not connect to a server. \r\nError : 1\r\nURL refused: ";
  const Case cases[] = {
      {"file:///etc/passwd", "\"file:///etc/passwd\" is not an http:// or https:// URL"},
      {"gopher://127.0.0.1:" + server.port + "/x", "\"gopher://127.0.0.1:" + server.port + "/x\" is not an http:// or https:// URL"},
      {"smtp://127.0.0.1:" + smtp.port, "\"smtp://127.0.0.1:" + smtp.port + "\" is not an http:// or https:// URL"},
      {"dict://127.0.0.1:" + server.port + "/d", "\"dict://127.0.0.1:" + server.port + "/d\" is not an http:// or https:// URL"},
      {"127.0.0.1:" + server.port + "/report_registration.php",
       "\"127.0.0.1:" + server.port + "/report_registration.php\" is not a URL"},
      {"", "\"\" is not a URL"},
      {"http://127.0.0.1:" + server.port + "/report_registration.php", ""},
      {"HTTP://127.0.0.1:" + server.port + "/upper", ""},
  };
  for (const Case& c : cases) {
    const std::string answer = PostForm(http, c.url, kFormNames, values);
    EXPECT_EQ(answer, c.reason.empty() ? "registered" : refused + c.reason) << c.url;
    EXPECT_EQ(ConnectionTest(http, c.url, "2020-03-15 08:04:05"), c.reason.empty() ? "registered" : refused + c.reason);
  }
  const std::string record = server.Record();
  EXPECT_NE(record.find("PATH /report_registration.php\n"), std::string::npos) << record;
  EXPECT_NE(record.find("PATH /upper\n"), std::string::npos) << record;
  EXPECT_EQ(record.find("PATH /x"), std::string::npos) << record;
  EXPECT_EQ(record.find("PATH /d"), std::string::npos) << record;
  EXPECT_FALSE(std::filesystem::exists(smtpDir.Path("message-1.eml")));
}

}  // namespace
}  // namespace zentrova
