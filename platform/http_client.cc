#include "platform/http_client.h"

#include <curl/curl.h>

#include <mutex>

namespace zentrova {
namespace {

// The answer as it arrives, up to kHttpBodyLimit: a server that sends
// without end is not followed further (the transfer ends there).
struct Answer {
  std::string body;
  bool cut = false;
};

size_t Collect(char* data, size_t size, size_t count, void* out) {
  Answer& answer = *static_cast<Answer*>(out);
  const size_t n = size * count;
  if (answer.body.size() + n > kHttpBodyLimit) {
    answer.body.append(data, kHttpBodyLimit - answer.body.size());
    answer.cut = true;
    return CURL_WRITEFUNC_ERROR;
  }
  answer.body.append(data, n);
  return n;
}

// libcurl asks this on every transfer step; a non-zero answer ends the request.
int Progress(void* aborted, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return static_cast<std::atomic<bool>*>(aborted)->load() ? 1 : 0;
}

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

HttpResult Failure(int code, std::string text) {
  HttpResult r;
  r.errorCode = code;
  r.errorText = std::move(text);
  return r;
}

}  // namespace

std::string HttpUrlProblem(const std::string& url) {
  GlobalInit();
  CURLU* parsed = curl_url();
  if (parsed == nullptr) return "cannot parse URLs";
  std::string problem;
  char* scheme = nullptr;
  char* host = nullptr;
  if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
    problem = "\"" + url + "\" is not a URL";
  } else if (curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK ||
             (std::string(scheme) != "http" && std::string(scheme) != "https")) {
    problem = "\"" + url + "\" is not an http:// or https:// URL";
  } else if (curl_url_get(parsed, CURLUPART_HOST, &host, 0) != CURLUE_OK || host[0] == '\0') {
    problem = "\"" + url + "\" names no host";
  }
  curl_free(scheme);
  curl_free(host);
  curl_url_cleanup(parsed);
  return problem;
}

HttpResult CurlHttpClient::Post(const std::string& url, const std::string& contentType, const std::string& body,
                                const std::string& agent) {
  GlobalInit();
  if (const std::string problem = HttpUrlProblem(url); !problem.empty()) {
    return Failure(CURLE_UNSUPPORTED_PROTOCOL, "URL refused: " + problem);
  }
  if (aborted_) return Failure(CURLE_ABORTED_BY_CALLBACK, curl_easy_strerror(CURLE_ABORTED_BY_CALLBACK));
  HttpResult result;
  Answer answer;
  CURL* curl = curl_easy_init();
  CURLM* multi = curl_multi_init();
  if (curl == nullptr || multi == nullptr) {
    if (curl != nullptr) curl_easy_cleanup(curl);
    if (multi != nullptr) curl_multi_cleanup(multi);
    return Failure(CURLE_FAILED_INIT, curl_easy_strerror(CURLE_FAILED_INIT));
  }
  const std::string header = "Content-type: " + contentType;
  curl_slist* headers = curl_slist_append(nullptr, header.c_str());
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  // Posts and uploads speak HTTP only; no redirect leads anywhere else.
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectTimeout_);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, totalTimeout_);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // time-outs without signals, safe on worker threads
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &aborted_);
  // An abandoned name look-up is left to finish on its own instead of
  // being waited for.
  curl_easy_setopt(curl, CURLOPT_QUICK_EXIT, 1L);
  curl_multi_add_handle(multi, curl);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    running_.push_back(multi);
  }
  // The request is driven here rather than by curl_easy_perform so that
  // AbortAll ends it in every phase, the name look-up included.
  CURLcode code = CURLE_OK;
  for (int active = 1; active > 0;) {
    if (aborted_) {
      code = CURLE_ABORTED_BY_CALLBACK;
      break;
    }
    if (curl_multi_perform(multi, &active) != CURLM_OK) {
      code = CURLE_FAILED_INIT;
      break;
    }
    if (active == 0) {
      int left = 0;
      CURLMsg* m = curl_multi_info_read(multi, &left);
      code = (m != nullptr && m->msg == CURLMSG_DONE) ? m->data.result : CURLE_FAILED_INIT;
      break;
    }
    curl_multi_poll(multi, nullptr, 0, 200, nullptr);
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase(running_, multi);
  }
  if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && answer.cut)) {
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    result.ok = true;
    result.status = static_cast<int>(status);
    result.body = std::move(answer.body);
  } else {
    result.errorCode = static_cast<int>(code);
    result.errorText = curl_easy_strerror(code);
  }
  curl_multi_remove_handle(multi, curl);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
  curl_multi_cleanup(multi);
  return result;
}

void CurlHttpClient::AbortAll() {
  aborted_ = true;
  std::lock_guard<std::mutex> lock(mutex_);
  for (void* multi : running_) curl_multi_wakeup(static_cast<CURLM*>(multi));
}

}  // namespace zentrova
