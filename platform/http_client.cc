#include "platform/http_client.h"

#include <curl/curl.h>

#include <mutex>

namespace zentrova {
namespace {

size_t Collect(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

// libcurl asks this about once a second and on every transfer step; a
// non-zero answer ends the request.
int Progress(void* aborted, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<std::atomic<bool>*>(aborted)->load() ? 1 : 0;
}

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

HttpResult CurlHttpClient::Post(const std::string& url, const std::string& contentType, const std::string& body,
                                const std::string& agent) {
  GlobalInit();
  HttpResult result;
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    result.errorCode = CURLE_FAILED_INIT;
    result.errorText = curl_easy_strerror(CURLE_FAILED_INIT);
    return result;
  }
  const std::string header = "Content-type: " + contentType;
  curl_slist* headers = curl_slist_append(nullptr, header.c_str());
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result.body);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectTimeout_);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, totalTimeout_);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // time-outs without signals, safe on worker threads
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &aborted_);
  const CURLcode code = curl_easy_perform(curl);
  if (code == CURLE_OK) {
    result.ok = true;
  } else {
    result.errorCode = static_cast<int>(code);
    result.errorText = curl_easy_strerror(code);
    result.body.clear();
  }
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  return result;
}

}  // namespace zentrova
