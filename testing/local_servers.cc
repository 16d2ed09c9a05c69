#include "testing/local_servers.h"

#include <unistd.h>

namespace zentrova::testing {
namespace {

std::string WaitForPort(const TempFolder& dir) {
  std::string port;
  for (int i = 0; i < 400 && port.empty(); ++i) {
    ::usleep(25000);
    port = dir.Read("port");
  }
  return port;
}

const std::string kScripts = std::string(ZENTROVA_SOURCE_DIR) + "/testing/";

}  // namespace

LocalSmtpServer::LocalSmtpServer(const TempFolder& dir)
    : process_({"/usr/bin/python3", kScripts + "smtp_recorder.py", dir.Path("port"), dir.path()}, dir.Path("smtp.log")) {
  port = WaitForPort(dir);
}

LocalHttpServer::LocalHttpServer(const TempFolder& dir, const std::string& mode)
    : dir_(dir),
      process_({"/usr/bin/python3", kScripts + "http_recorder.py", dir.Path("port"), dir.Path("record"),
                mode.empty() ? "--answer" : mode, "registered"},
               dir.Path("server.log")) {
  port = WaitForPort(dir);
}

}  // namespace zentrova::testing
