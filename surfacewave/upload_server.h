#pragma once
// Where the uploads go. The waveform-file upload posts to a receiving
// script on the local server (the station's own web server) or on the
// public server; the database upload posts to the geophysical database's
// registration script. The host names are settings of section "General":
// "sLocalServerHost" (default "localhost"), "sPublicServerHost" and
// "sDatabaseServerHost" (no default: without one nothing is sent there).

#include <cstdint>
#include <string>

#include "monitor/settings.h"

namespace zentrova {

constexpr const char* kLocalUploadPath = "/Kalvane/orbel_data/receive_orbel_file.php";
constexpr const char* kPublicUploadPath = "/orbel_data/receive_orbel_file.php";

struct UploadHosts {
  std::string local = "localhost";
  std::string publicHost;
  std::string database;
};

UploadHosts LoadUploadHosts(Settings& settings);

// "http://LOCAL/Kalvane/...?file_size=N" or "https://PUBLIC/orbel_data/...?file_size=N";
// empty when the server's host is not set.
std::string WaveformUploadUrl(const UploadHosts& hosts, int remote, int64_t size);
// The setting that names the host of that server.
const char* WaveformHostSetting(int remote);

// The database's scripts. Each URL is read once from its setting when the
// object is made; the default is the path on the database host over plain
// HTTP, or empty when no database host is set.
class DatabaseServer {
 public:
  DatabaseServer() = default;
  DatabaseServer(Settings& settings, const std::string& host);

  std::string strFindDatabaseUrl;
  std::string strRegistrationUrl;
  std::string strUsersUrl;
  std::string strMonitorUrl;  // the one the station posts to
};

}  // namespace zentrova
