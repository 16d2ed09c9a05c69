#include "notify/form_outbox.h"

#include "platform/printf.h"

namespace zentrova {
FormOutbox::FormOutbox(HttpClient& http, size_t capacity, OutboxOptions options, FileSystem* fs, Clock* clock)
    : http_(http),
      outbox_(
          fs ? *fs : NoFiles(), clock ? *clock : WallClock(), "form", "Report form",
          Adjusted(std::move(options), capacity, fs != nullptr), [this](const OutgoingMessage& m) { return Post(m); },
          [this] { http_.AbortAll(); }) {}

bool FormOutbox::Submit(const std::string& url, const FormFields& values) {
  OutgoingMessage m;
  m.text = values[1];
  m.url = url;
  m.fields.assign(values.begin(), values.end());
  return outbox_.Submit(std::move(m));
}

Attempt FormOutbox::Post(const OutgoingMessage& m) {
  if (const std::string problem = HttpUrlProblem(m.url); !problem.empty()) {
    return {Attempt::kRefused, "URL refused: " + problem};
  }
  FormFields values;
  for (size_t i = 0; i < values.size() && i < m.fields.size(); ++i) values[i] = m.fields[i];
  const HttpResult r = http_.Post(m.url, "application/x-www-form-urlencoded", FormBody(kFormNames, values),
                                  "HTTP Post Zentrova");
  // A server that answers with an error has not taken the report; what
  // else it answers changes nothing.
  if (r.ok && r.status >= 400) return {Attempt::kFailed, Printf("the server answered %d", r.status)};
  if (r.ok) return {Attempt::kDelivered, ""};
  return {Attempt::kFailed, Printf("Could not connect to a server. Error : %d %s", r.errorCode, r.errorText.c_str())};
}

}  // namespace zentrova
