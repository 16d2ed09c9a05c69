#pragma once
// HTTP requests of the station (the report form). The real client is
// libcurl: proxy from the environment, TLS certificates verified, and time-outs
// so that a dead server never holds the station for long.

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace zentrova {

// The most of a response body that is kept; the rest is not read.
constexpr size_t kHttpBodyLimit = 64 * 1024;

struct HttpResult {
  bool ok = false;        // a response arrived (whatever its status)
  std::string body;       // the response body
  int errorCode = 0;      // when not ok: the client's error number
  std::string errorText;  // and its description
  int status = 0;         // when ok: the HTTP status
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual HttpResult Post(const std::string& url, const std::string& contentType, const std::string& body,
                          const std::string& agent) = 0;
  // The station is closing: ends every request under way, and every later
  // one, at once (within about a second).
  virtual void AbortAll() {}
};

// Empty when url is an http:// or https:// URL with a host; otherwise why
// it is refused. Posts and uploads reach web servers only: file://,
// gopher://, smtp:// and the like are refused before anything is sent.
std::string HttpUrlProblem(const std::string& url);

class CurlHttpClient : public HttpClient {
 public:
  // Time-outs in seconds: to connect, and for the whole request.
  explicit CurlHttpClient(long connectTimeout = 10, long totalTimeout = 30)
      : connectTimeout_(connectTimeout), totalTimeout_(totalTimeout) {}
  HttpResult Post(const std::string& url, const std::string& contentType, const std::string& body,
                  const std::string& agent) override;
  void AbortAll() override;

 private:
  long connectTimeout_;
  long totalTimeout_;
  std::atomic<bool> aborted_{false};
  std::mutex mutex_;
  std::vector<void*> running_;  // the requests under way, woken by AbortAll
};

}  // namespace zentrova
