#pragma once
// Report forms posted in the background. The report's result never depends
// on the server's answer, so the monitor cycle need not wait for a server
// that is slow or hangs: forms are queued and posted one after another on
// a thread of their own, each bounded by the HTTP client's time-outs.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "notify/form_post.h"

namespace zentrova {

class FormOutbox {
 public:
  explicit FormOutbox(HttpClient& http, size_t capacity = 64);
  ~FormOutbox();
  FormOutbox(const FormOutbox&) = delete;
  FormOutbox& operator=(const FormOutbox&) = delete;

  // Queues a form. When `capacity` forms are already waiting (a server
  // away for a long time), the oldest waiting one gives way.
  void Submit(const std::string& url, const FormFields& values);
  // Posts what is queued for at most `ms` more milliseconds, then ends the
  // post under way (HttpClient::AbortAll), drops the rest and ends the thread.
  void Close(int ms);
  size_t Waiting() const;
  size_t Dropped() const;
  size_t Posted() const;

 private:
  struct Form {
    std::string url;
    FormFields values;
  };
  void Run();

  HttpClient& http_;
  const size_t capacity_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Form> queue_;
  bool closing_ = false;
  bool finished_ = false;
  std::condition_variable ended_;
  std::chrono::steady_clock::time_point deadline_{};
  size_t dropped_ = 0;
  size_t posted_ = 0;
  std::thread worker_;
};

}  // namespace zentrova
