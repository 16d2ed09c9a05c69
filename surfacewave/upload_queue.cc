#include "surfacewave/upload_queue.h"

#include "platform/printf.h"
#include "surfacewave/upload_requests.h"

namespace zentrova {
namespace {

constexpr const char* kFileUpload = "file";
constexpr const char* kRegistration = "registration";

}  // namespace

UploadQueue::UploadQueue(HttpClient& http, FileSystem& fs, ActivityLog& log, UploadHosts hosts, size_t capacity)
    : http_(http),
      fs_(fs),
      log_(log),
      hosts_(std::move(hosts)),
      outbox_(
          NoFiles(), WallClock(), "upload", "Upload",
          [&] {
            OutboxOptions o;
            o.maxCount = capacity;
            o.log = [this](const std::string& line) { log_.Add(line); };
            return o;
          }(),
          [this](const OutgoingMessage& m) { return Run(m); }, [this] { http_.AbortAll(); }) {}

void UploadQueue::UploadFile(const std::string& path, int remote) {
  OutgoingMessage m;
  m.title = kFileUpload;
  m.text = path;
  m.url = path;
  m.fields = {remote == 1 ? "1" : "0"};
  outbox_.Submit(std::move(m), false);
}

void UploadQueue::Register(const DatabaseServer& server, const std::string& xmlText) {
  OutgoingMessage m;
  m.title = kRegistration;
  m.text = "XML document";
  m.url = server.strMonitorUrl;
  m.body = xmlText;
  outbox_.Submit(std::move(m), false);
}

bool UploadQueue::FirstWithoutHost(const std::string& setting) {
  std::lock_guard<std::mutex> lock(mutex_);
  return told_.insert(setting).second;
}

Attempt UploadQueue::Run(const OutgoingMessage& m) {
  if (m.title == kRegistration) {
    if (m.url.empty()) {
      if (FirstWithoutHost("sDatabaseServerHost")) {
        log_.Add("The database server is not set (\"sDatabaseServerHost\" or \"sMonitorURL\"): nothing is registered.");
      }
      return {Attempt::kNothingToDo, ""};
    }
    DatabaseServer server;
    server.strMonitorUrl = m.url;
    log_.Add(RegisterOnDatabase(server, m.body, http_));
    return {Attempt::kDelivered, ""};
  }
  const int remote = !m.fields.empty() && m.fields[0] == "1" ? 1 : 0;
  int done = 0;
  if (WaveformUploadUrl(hosts_, remote, 0).empty()) {
    const char* setting = WaveformHostSetting(remote);
    if (FirstWithoutHost(setting)) {
      const std::string line = Printf("The %s upload server is not set (\"%s\"): files are not uploaded there.",
                                      remote == 1 ? "public" : "local", setting);
      log_.Add(line);
      log_.AppendToLogFile(line);
    }
  } else {
    done = UploadWaveformFile(m.url, remote, hosts_, fs_, http_,
                              [this](const std::string& line) { log_.AppendToLogFile(line); });
  }
  const std::string line = done == 1 ? Printf("Successfully uploaded : %s", m.url.c_str())
                                      : Printf("Unable to upload : %s", m.url.c_str());
  log_.Add(line);
  log_.AppendToLogFile(line);
  return {done == 1 ? Attempt::kDelivered : Attempt::kNothingToDo, ""};
}

}  // namespace zentrova
