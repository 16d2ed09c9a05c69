#include "surfacewave/upload_server.h"

#include "platform/printf.h"

namespace zentrova {
namespace {

std::string OnHost(const std::string& host, const char* path) { return host.empty() ? "" : "http://" + host + path; }

}  // namespace

UploadHosts LoadUploadHosts(Settings& settings) {
  UploadHosts h;
  settings.LoadText("sLocalServerHost", h.local);
  settings.LoadText("sPublicServerHost", h.publicHost);
  settings.LoadText("sDatabaseServerHost", h.database);
  return h;
}

const char* WaveformHostSetting(int remote) { return remote == 1 ? "sPublicServerHost" : "sLocalServerHost"; }

std::string WaveformUploadUrl(const UploadHosts& hosts, int remote, int64_t size) {
  const std::string& host = remote == 1 ? hosts.publicHost : hosts.local;
  if (host.empty()) return "";
  const std::string base = remote == 1 ? "https://" + host + kPublicUploadPath : "http://" + host + kLocalUploadPath;
  return base + Printf("?file_size=%lld", static_cast<long long>(size));
}

DatabaseServer::DatabaseServer(Settings& settings, const std::string& host)
    : strFindDatabaseUrl(OnHost(host, "/GeophysicalDatabase/find_database.php")),
      strRegistrationUrl(OnHost(host, "/GeophysicalDatabase/registration_xml.php")),
      strUsersUrl(OnHost(host, "/GeophysicalDatabase/get_users.php")),
      strMonitorUrl(OnHost(host, "/GeophysicalDatabase/registration_xml_monitor.php")) {
  settings.LoadText("sVelocityModelURL", strFindDatabaseUrl);
  settings.LoadText("sRegistrationModelURL", strRegistrationUrl);
  settings.LoadText("sMonitorURL", strMonitorUrl);
}

}  // namespace zentrova
