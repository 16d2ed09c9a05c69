#pragma once
// Report forms posted in the background. The report's result never depends
// on the server's answer, so the monitor cycle need not wait for a server
// that is slow or hangs: forms are queued and posted one after another on
// a thread of their own, each bounded by the HTTP client's time-outs.

#include <string>

#include "notify/form_post.h"
#include "notify/outbox.h"

namespace zentrova {

class FormOutbox {
 public:
  explicit FormOutbox(HttpClient& http, size_t capacity = 64);

  // Queues a form; when `capacity` forms are already waiting (a server
  // away for a long time), the oldest waiting one gives way.
  void Submit(const std::string& url, const FormFields& values) { outbox_.Submit({url, values}); }
  // Posts what is queued for at most `ms` more milliseconds, then ends the
  // post under way (HttpClient::AbortAll) and drops the rest.
  void Close(int ms) { outbox_.Close(ms); }
  size_t Waiting() const { return outbox_.Waiting(); }
  size_t Dropped() const { return outbox_.Dropped(); }
  size_t Posted() const { return outbox_.Delivered(); }

 private:
  struct Form {
    std::string url;
    FormFields values;
  };
  HttpClient& http_;
  Outbox<Form> outbox_;
};

}  // namespace zentrova
