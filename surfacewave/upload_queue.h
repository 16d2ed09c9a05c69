#pragma once
// The uploads of the monitor cycle, made one after another on a thread of
// their own so that a slow or silent server never holds the cycle (each
// request is bounded by the HTTP client's time-outs). Nothing is repeated
// and nothing is kept on disk: an upload that fails is reported once.
//
// When each upload ends: "Successfully uploaded : PATH" or "Unable to
// upload : PATH" to the log pane and the log file; the registration's
// reply (or error text) to the log pane only. An upload whose server has
// no host set is not tried; the first one of each server says so.

#include <mutex>
#include <set>
#include <string>

#include "monitor/activity_log.h"
#include "notify/outbox.h"
#include "platform/file_system.h"
#include "platform/http_client.h"
#include "surfacewave/upload_server.h"

namespace zentrova {

class UploadQueue {
 public:
  UploadQueue(HttpClient& http, FileSystem& fs, ActivityLog& log, UploadHosts hosts, size_t capacity = 500);

  // Queues the upload of a record file (remote 1: the public server).
  void UploadFile(const std::string& path, int remote);
  // Queues the registration of an XML document at the database.
  void Register(const DatabaseServer& server, const std::string& xmlText);

  bool WaitIdle(int ms) { return outbox_.WaitIdle(ms); }
  void Close(int ms) { outbox_.Close(ms); }
  size_t Dropped() const { return outbox_.Dropped(); }

 private:
  Attempt Run(const OutgoingMessage& m);
  // True the first time the server named by `setting` is found without a host.
  bool FirstWithoutHost(const std::string& setting);

  HttpClient& http_;
  FileSystem& fs_;
  ActivityLog& log_;
  const UploadHosts hosts_;
  std::mutex mutex_;
  std::set<std::string> told_;
  Outbox outbox_;
};

}  // namespace zentrova
