#pragma once
// Report forms posted in the background. The report's result never depends
// on the server's answer, so the monitor cycle need not wait for a server
// that is slow or hangs: forms are queued and posted one after another on
// a thread of their own, each bounded by the HTTP client's time-outs.
// A form counts as delivered when the server answered (whatever its
// status); otherwise it is tried again (see Outbox). A URL the client
// refuses (not http:// or https://) is not tried again.

#include <string>

#include "notify/form_post.h"
#include "notify/outbox.h"

namespace zentrova {

class FormOutbox {
 public:
  explicit FormOutbox(HttpClient& http, size_t capacity = 64, OutboxOptions options = {}, FileSystem* fs = nullptr,
                      Clock* clock = nullptr);

  // Queues a form; when `capacity` forms are already waiting (a server
  // away for a long time), the oldest waiting one gives way. False when it
  // could not be kept on disk.
  bool Submit(const std::string& url, const FormFields& values);
  void Start() { outbox_.Start(); }
  // Posts what is queued for at most `ms` more milliseconds, then ends the
  // post under way (HttpClient::AbortAll); what is left stays in the spool.
  void Close(int ms) { outbox_.Close(ms); }
  void BeginClose(std::chrono::steady_clock::time_point deadline) { outbox_.BeginClose(deadline); }
  void FinishClose() { outbox_.FinishClose(); }
  bool WaitIdle(int ms) { return outbox_.WaitIdle(ms); }
  size_t Waiting() const { return outbox_.Waiting(); }
  size_t Dropped() const { return outbox_.Dropped(); }
  size_t Posted() const { return outbox_.Delivered(); }
  size_t GivenUp() const { return outbox_.GivenUp(); }
  OutboxState State() const { return outbox_.State(); }

 private:
  Attempt Post(const OutgoingMessage& m);

  HttpClient& http_;
  Outbox outbox_;
};

}  // namespace zentrova
