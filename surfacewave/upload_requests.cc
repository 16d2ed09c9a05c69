#include "surfacewave/upload_requests.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "platform/printf.h"
#include "surfacewave/xml_document.h"

namespace zentrova {
namespace {

constexpr size_t kReplyPiece = 1024;

// The whole file, or nothing when it cannot be read or its size does not
// fit the 32-bit count of the query.
bool ReadWhole(FileSystem& fs, const std::string& path, std::string& bytes) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return false;
  const uint64_t size = (*file)->Size();
  if (size > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return false;
  auto read = ReadWholeFile(**file);
  if (!read.ok() || read->size() != size) return false;  // a file that shrank meanwhile is not sent
  bytes = std::move(*read);
  return true;
}

}  // namespace

int UploadWaveformFile(const std::string& path, int remote, const UploadHosts& hosts, FileSystem& fs,
                       HttpClient& http, const std::function<void(const std::string&)>& logFile) {
  std::string bytes;
  if (!ReadWhole(fs, path, bytes)) return 0;
  const std::string url = WaveformUploadUrl(hosts, remote, static_cast<int64_t>(bytes.size()));
  if (url.empty()) return 0;
  const HttpResult r = http.Post(url, kUploadContentType, bytes, kUploadAgent);
  if (!r.ok) {
    if (logFile) logFile(Printf("Internet exception.  Error : %d\t%s", r.errorCode, r.errorText.c_str()));
    return 0;
  }
  // The whole reply is searched: a token that a piece-wise reading would
  // find split over two pieces is still the server's confirmation.
  return r.body.find(kUploadSuccessToken) != std::string::npos ? 1 : 0;
}

std::string LastReplyPiece(const std::string& reply) {
  if (reply.empty()) return reply;
  const size_t start = (reply.size() - 1) / kReplyPiece * kReplyPiece;
  return reply.substr(start);
}

std::string RegisterOnDatabase(const DatabaseServer& server, const std::string& xmlText, HttpClient& http) {
  const HttpResult r = http.Post(server.strMonitorUrl, kUploadContentType, xmlText, kUploadAgent);
  if (!r.ok) {
    return Printf("例外が発生しました。\r\nエラー: %d\r\n%s", r.errorCode, r.errorText.c_str());
  }
  return LastReplyPiece(r.body);
}

std::string RegisterOnDatabase(const DatabaseServer& server, const XmlSurveyData& data, HttpClient& http) {
  return RegisterOnDatabase(server, StandardXmlText(data), http);
}

}  // namespace zentrova
