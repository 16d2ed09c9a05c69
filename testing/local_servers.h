#pragma once
// Real servers on 127.0.0.1 for the tests, run as child processes of
// /usr/bin/python3: an SMTP server (aiosmtpd) that saves every message and
// its attachments into a folder, and an HTTP server that records every POST.

#include <string>

#include "testing/child_process.h"
#include "testing/temp_folder.h"

namespace zentrova::testing {

// A port on 127.0.0.1 that nothing listens on now (for a server that is
// down, and comes up there later).
std::string FreePort();

class LocalSmtpServer {
 public:
  // Messages land in dir as message-N.eml, message-N-FILENAME, message-N.rcpt.
  // `fixedPort`: listen there (a server that was down and comes up).
  explicit LocalSmtpServer(const TempFolder& dir, const std::string& fixedPort = "");
  std::string port;  // empty when the server did not start

 private:
  BackgroundProcess process_;
};

class LocalHttpServer {
 public:
  // mode "" answers every POST with `answer`; "--hang" never answers;
  // "--fail" answers 500 with `answer`.
  explicit LocalHttpServer(const TempFolder& dir, const std::string& mode = "", const std::string& fixedPort = "",
                           const std::string& answer = "registered");
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + port + path; }
  std::string Record() const { return dir_.Read("record"); }
  std::string port;

 private:
  const TempFolder& dir_;
  BackgroundProcess process_;
};

}  // namespace zentrova::testing
