#include "testing/local_servers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

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

std::vector<std::string> WithPort(std::vector<std::string> argv, const std::string& port) {
  if (!port.empty()) {
    argv.push_back("--port");
    argv.push_back(port);
  }
  return argv;
}

}  // namespace

std::string FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof a;
  std::string port;
  if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
      ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &size) == 0) {
    port = std::to_string(ntohs(a.sin_port));
  }
  ::close(s);
  return port;
}

LocalSmtpServer::LocalSmtpServer(const TempFolder& dir, const std::string& fixedPort)
    : process_(WithPort({"/usr/bin/python3", kScripts + "smtp_recorder.py", dir.Path("port"), dir.path()}, fixedPort),
               dir.Path("smtp.log")) {
  port = WaitForPort(dir);
}

LocalHttpServer::LocalHttpServer(const TempFolder& dir, const std::string& mode, const std::string& fixedPort,
                                 const std::string& answer)
    : dir_(dir),
      process_(WithPort({"/usr/bin/python3", kScripts + "http_recorder.py", dir.Path("port"), dir.Path("record"),
                         mode.empty() ? "--answer" : mode, answer},
                        fixedPort),
               dir.Path("server.log")) {
  port = WaitForPort(dir);
}

}  // namespace zentrova::testing
