#pragma once
// The two uploads as single requests. Neither is repeated: a failure is
// reported once and the next attempt is the next file or analysis.

#include <functional>
#include <string>

#include "platform/file_system.h"
#include "platform/http_client.h"
#include "surfacewave/upload_server.h"
#include "surfacewave/xml_survey_data.h"

namespace zentrova {

constexpr const char* kUploadAgent = "HTTP Post Test App";
constexpr const char* kUploadContentType = "application/x-www-form-urlencoded";
constexpr const char* kUploadSuccessToken = "SUCCESSFULLY_UPLOADED";

// Posts the file's bytes, unchanged, to the receiving script; 1 when the
// reply carries the success token anywhere (whatever the status), 0
// otherwise. A file that cannot be read, or whose server has no host,
// gives 0 without a request. A failed request appends "Internet exception.
// Error : N\tTEXT" through logFile (the log file, not the pane).
int UploadWaveformFile(const std::string& path, int remote, const UploadHosts& hosts, FileSystem& fs,
                       HttpClient& http, const std::function<void(const std::string&)>& logFile);

// The reply as the registration reads it, in pieces of 1024 bytes, each
// replacing the one before: the last piece that holds anything.
std::string LastReplyPiece(const std::string& reply);

// Posts the XML text to strMonitorUrl; the server's reply (its last
// piece), or the error text of a failed request.
std::string RegisterOnDatabase(const DatabaseServer& server, const std::string& xmlText, HttpClient& http);
// The same with the document built from the data.
std::string RegisterOnDatabase(const DatabaseServer& server, const XmlSurveyData& data, HttpClient& http);

}  // namespace zentrova
