#include "notify/form_outbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "testing/local_servers.h"

namespace zentrova {
namespace {

using Clock = std::chrono::steady_clock;

FormFields Fields(const std::string& message) { return {"S1", message, "12.6", "-1", "C", "50.000", "", "2:0:0:0"}; }

TEST(FormOutbox, PostsEveryFormInOrder) {
  testing::TempFolder dir;
  testing::LocalHttpServer server(dir);
  ASSERT_FALSE(server.port.empty());
  CurlHttpClient http;
  {
    FormOutbox outbox(http);
    for (const char* m : {"first", "second", "third"}) outbox.Submit(server.Url("/report_registration.php"), Fields(m));
    outbox.Close(10000);
    EXPECT_EQ(outbox.Posted(), 3u);
    EXPECT_EQ(outbox.Dropped(), 0u);
  }
  const std::string record = server.Record();
  const size_t a = record.find("message=first"), b = record.find("message=second"), c = record.find("message=third");
  ASSERT_NE(c, std::string::npos) << record;
  EXPECT_LT(a, b);
  EXPECT_LT(b, c);
}

TEST(FormOutbox, AHangingServerHoldsNobodyAndIsCutOffAtClose) {
  testing::TempFolder dir;
  testing::LocalHttpServer server(dir, "--hang");
  ASSERT_FALSE(server.port.empty());
  CurlHttpClient http;
  FormOutbox outbox(http, 2);
  const auto start = Clock::now();
  for (int i = 0; i < 5; ++i) outbox.Submit(server.Url("/r"), Fields("m" + std::to_string(i)));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(200));  // queued, not posted here
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_LE(outbox.Waiting(), 2u);  // the oldest waiting ones gave way
  EXPECT_GE(outbox.Dropped(), 2u);
  const auto closing = Clock::now();
  outbox.Close(500);
  // 0.5 s of grace, then the post under way is ended (libcurl looks about once a second).
  EXPECT_LT(Clock::now() - closing, std::chrono::seconds(4));
  EXPECT_EQ(outbox.Waiting(), 0u);
  EXPECT_EQ(outbox.Posted() + outbox.Dropped(), 5u);
}

}  // namespace
}  // namespace zentrova
