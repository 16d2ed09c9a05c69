#include "notify/form_post.h"

#include <unistd.h>

#include <chrono>
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

}  // namespace
}  // namespace zentrova
