// What a web server answers: an error status is no delivery, and a body
// without end is not kept in memory.

#include <unistd.h>

#include <mutex>

#include <gtest/gtest.h>

#include "notify/form_outbox.h"
#include "notify/form_post.h"
#include "platform/http_client.h"
#include "testing/local_servers.h"

namespace zentrova {
namespace {

const FormFields kValues = {"S1", "m", "12.6", "-1", "C", "50.000", "2020-03-15 08:04:05", "2:0:0:0"};

TEST(HttpAnswer, AServerErrorIsNoDelivery) {
  testing::TempFolder dir;
  testing::LocalHttpServer server(dir, "--fail");
  ASSERT_FALSE(server.port.empty());
  CurlHttpClient http(2, 5);
  const HttpResult r = http.Post(server.Url("/x"), "text/plain", "a=b", "test");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.status, 500);

  std::vector<std::string> lines;
  std::mutex mutex;
  OutboxOptions o;
  o.firstPauseMs = 60000;  // one attempt in this test
  o.log = [&](const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex);
    lines.push_back(line);
  };
  FormOutbox forms(http, 8, o);
  EXPECT_TRUE(forms.Submit(server.Url("/report_registration.php"), kValues));
  for (int i = 0; i < 250 && server.Record().find("message=m") == std::string::npos; ++i) ::usleep(20000);
  for (int i = 0; i < 250; ++i) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (!lines.empty()) break;
    }
    ::usleep(20000);
  }
  EXPECT_EQ(forms.Posted(), 0u);
  EXPECT_EQ(forms.Waiting(), 1u);
  std::lock_guard<std::mutex> lock(mutex);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Report form \"m\" was not delivered, will try again: the server answered 500") << lines[0];
}

TEST(HttpAnswer, AnEndlessBodyIsNotKept) {
  testing::TempFolder dir;
  testing::LocalHttpServer server(dir, "--huge");
  ASSERT_FALSE(server.port.empty());
  CurlHttpClient http(2, 20);
  const HttpResult r = http.Post(server.Url("/x"), "text/plain", "a=b", "test");
  EXPECT_TRUE(r.ok) << r.errorText;
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body.rfind("registered", 0), 0u);
  EXPECT_LE(r.body.size(), kHttpBodyLimit);
  EXPECT_EQ(PostForm(http, server.Url("/x"), kFormNames, kValues).size(), kHttpBodyLimit);
}

}  // namespace
}  // namespace zentrova
