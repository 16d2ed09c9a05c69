#include "notify/form_outbox.h"

namespace zentrova {

FormOutbox::FormOutbox(HttpClient& http, size_t capacity)
    : http_(http),
      outbox_(
          capacity,
          [this](Form& form) {
            PostForm(http_, form.url, kFormNames, form.values);  // the answer changes nothing
            return true;
          },
          [this] { http_.AbortAll(); }) {}

}  // namespace zentrova
