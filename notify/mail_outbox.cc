#include "notify/mail_outbox.h"

namespace zentrova {

MailOutbox::MailOutbox(KeyValueStore& product, ProcessLauncher& launcher, int senderTimeoutMs, size_t capacity)
    : product_(product),
      launcher_(launcher),
      senderTimeoutMs_(senderTimeoutMs),
      outbox_(
          capacity, [this](MailJob& job) { return Hand(job); }, [this] { stopWaiting_ = true; }) {}

bool MailOutbox::Hand(MailJob& job) {
  product_.Set("MessageToBeSent", job.body);
  product_.Set("stMessaggeTitle", job.title);
  return job.send && launcher_.Run(job.program, job.attachments, senderTimeoutMs_, stopWaiting_) == 0;
}

}  // namespace zentrova
