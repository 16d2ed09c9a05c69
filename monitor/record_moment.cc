#include "monitor/record_moment.h"

#include "platform/local_time.h"
#include "records/data_file_kind.h"
#include "records/mtneo_import.h"
#include "records/seg2_reader.h"
#include "records/seismic_record.h"

namespace zentrova {
namespace {

std::optional<int64_t> HeaderMomentMs(FileSystem& fs, const std::string& path, int kind) {
  if (kind == DataKindSeg2) {
    SeismicRecord headers;  // the trace headers only, never the station's record
    int status = 0;
    if (ReadSeg2File(fs, headers, path, 1, 0, status) <= 0 || headers.time.bTimeValid != 1) return std::nullopt;
    return headers.time.tFirstSample * 1000 + headers.time.nFirstSampleMs;
  }
  if (kind == DataKindMtNeo) {
    auto header = ReadMtNeoHeader(fs, path);
    if (!header.ok()) return std::nullopt;
    if (auto seconds = LocalToSeconds(header->firstSample)) return *seconds * 1000;
  }
  return std::nullopt;
}

}  // namespace

std::optional<int64_t> RecordMomentMs(FileSystem& fs, const std::string& path, int kind) {
  if (auto moment = HeaderMomentMs(fs, path, kind)) return moment;
  auto entry = fs.Inspect(path);
  if (!entry.ok()) return std::nullopt;
  return entry->mtimeNs / 1000000;
}

}  // namespace zentrova
