#include "notify/mail_outbox.h"

namespace zentrova {

MailOutbox::MailOutbox(KeyValueStore& product, ProcessLauncher& launcher, int senderTimeoutMs, size_t capacity)
    : product_(product),
      launcher_(launcher),
      senderTimeoutMs_(senderTimeoutMs),
      outbox_(
          capacity, [this](MailJob& job) { return Hand(job); }, [this] { stopWaiting_ = true; }) {}

bool MailOutbox::Hand(MailJob& job) {
  // The sender takes the title and body from the product key: where they
  // could not be stored there (a file that cannot be read is left as it is),
  // it would send the message before this one instead.
  const bool body = product_.Set("MessageToBeSent", job.body);
  const bool title = product_.Set("stMessaggeTitle", job.title);
  if (!body || !title) return false;
  return job.send && launcher_.Run(job.program, job.attachments, senderTimeoutMs_, stopWaiting_) == 0;
}

}  // namespace zentrova
