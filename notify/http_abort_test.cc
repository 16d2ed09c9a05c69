// Closing the station ends an HTTP request in every phase, also while the
// server's name is still being looked up. The look-up of names under
// ".slow-resolve.test" is made to take 20 s here: this program's own
// getaddrinfo stands in front of the C library's.

#include <dlfcn.h>
#include <netdb.h>

#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "platform/http_client.h"

extern "C" int getaddrinfo(const char* node, const char* service, const struct addrinfo* hints,
                           struct addrinfo** res) {
  using Real = int (*)(const char*, const char*, const struct addrinfo*, struct addrinfo**);
  static Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "getaddrinfo"));
  const char* suffix = ".slow-resolve.test";
  if (node != nullptr && std::strlen(node) > std::strlen(suffix) &&
      std::strcmp(node + std::strlen(node) - std::strlen(suffix), suffix) == 0) {
    std::this_thread::sleep_for(std::chrono::seconds(20));
    return EAI_NONAME;
  }
  return real(node, service, hints, res);
}

namespace zentrova {
namespace {

TEST(HttpAbort, AbortAllEndsARequestStillLookingUpItsServer) {
  CurlHttpClient http(15, 30);
  auto post = std::async(std::launch::async, [&http] {
    return http.Post("http://report.slow-resolve.test/report_registration.php", "text/plain", "x", "HTTP Post Zentrova");
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto asked = std::chrono::steady_clock::now();
  http.AbortAll();
  ASSERT_EQ(post.wait_for(std::chrono::seconds(3)), std::future_status::ready) << "still looking up the name";
  const HttpResult r = post.get();
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.errorCode, 42) << r.errorText;  // aborted
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(3));
}

}  // namespace
}  // namespace zentrova
