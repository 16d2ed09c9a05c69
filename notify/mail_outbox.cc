#include "notify/mail_outbox.h"

#include <algorithm>

#include "notify/attachment_folders.h"

namespace zentrova {

MailOutbox::MailOutbox(KeyValueStore& product, ProcessLauncher& launcher, int senderTimeoutMs, size_t capacity,
                       OutboxOptions options, FileSystem* fs, Clock* clock)
    : product_(product),
      launcher_(launcher),
      fs_(fs),
      senderTimeoutMs_(senderTimeoutMs),
      log_(options.log),
      outbox_(
          fs ? *fs : NoFiles(), clock ? *clock : WallClock(), "mail", "E-mail",
          Adjusted(std::move(options), capacity, fs != nullptr),
          [this](const OutgoingMessage& m) { return Hand(m); }, [this] { stopWaiting_ = true; }) {}

bool MailOutbox::Submit(MailJob job) {
  OutgoingMessage m;
  m.text = std::move(job.text);
  m.title = std::move(job.title);
  m.body = std::move(job.body);
  m.send = job.send;
  m.program = std::move(job.program);
  m.attachments = std::move(job.attachments);
  m.announce = job.announce;
  const bool keep = m.send;  // a message that only writes the product key need not survive a stop
  return outbox_.Submit(std::move(m), keep);
}

void MailOutbox::SetSender(const std::string& program) {
  std::lock_guard<std::mutex> lock(senderMutex_);
  sender_ = program;
}

void MailOutbox::AllowAttachmentsBelow(const std::string& folder) {
  std::lock_guard<std::mutex> lock(senderMutex_);
  if (folder.empty()) return;
  if (std::find(attachmentFolders_.begin(), attachmentFolders_.end(), folder) == attachmentFolders_.end()) {
    attachmentFolders_.push_back(folder);
  }
}

std::vector<std::string> MailOutbox::Attachments(const OutgoingMessage& m) {
  std::vector<std::string> folders;
  {
    std::lock_guard<std::mutex> lock(senderMutex_);
    folders = attachmentFolders_;
  }
  std::vector<std::string> files;
  for (const auto& path : m.attachments) {
    if (path.empty()) continue;
    const bool allowed = folders.empty() || std::any_of(folders.begin(), folders.end(), [&](const std::string& f) {
                           return LiesBelow(fs_, f, path);
                         });
    if (!allowed) {
      if (m.attempts == 0 && log_) {
        log_("E-mail \"" + m.text.substr(0, m.text.find_first_of("\r\n")) + "\": the attachment " + path +
             " is not in the destination folder; the message goes without it");
      }
      continue;
    }
    // A file removed since (a record moved on, an image cleaned up) is left out.
    if (fs_ == nullptr || fs_->Exists(path)) files.push_back(path);
  }
  return files;
}

Attempt MailOutbox::Hand(const OutgoingMessage& m) {
  // The sender takes the title and body from the product key: where they
  // could not be stored there (a file that cannot be read is left as it is),
  // it would send the message before this one instead, so it is tried later.
  const bool body = product_.Set("MessageToBeSent", m.body);
  const bool title = product_.Set("stMessaggeTitle", m.title);
  if (!m.send) return {Attempt::kNothingToDo, ""};
  if (!body || !title) return {Attempt::kFailed, "the message could not be stored in the product key"};
  const std::vector<std::string> files = Attachments(m);
  std::string why;
  std::string program;
  {
    std::lock_guard<std::mutex> lock(senderMutex_);
    program = sender_.empty() ? m.program : sender_;
  }
  const int code = launcher_.Run(program, files, senderTimeoutMs_, stopWaiting_, why);
  if (code == 0) {
    if (m.announce && log_) log_(kMailSentLine);
    return {Attempt::kDelivered, ""};
  }
  if (code == 2) return {Attempt::kRefused, why};
  return {Attempt::kFailed, why};
}

}  // namespace zentrova
