// Any bytes as a SEG-2 file: the readers must neither crash nor leave the
// record inconsistent.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/memory_file_system.h"
#include "records/seg2_append.h"
#include "records/seg2_header_scan.h"
#include "records/seg2_reader.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckRecord(const zentrova::SeismicRecord& r) {
  Check(r.pHeader.size() == static_cast<size_t>(r.nTraces));
  Check(r.pHeaderXY.size() == static_cast<size_t>(r.nTraces));
  Check(r.ppData.size() == static_cast<size_t>(r.nTraces));
  for (int i = 0; i < r.nTraces; ++i) Check(r.ppData[i].size() == static_cast<size_t>(r.pHeader[i].nSamples));
  Check(r.time.nFirstSampleMs >= 0 && r.time.nFirstSampleMs < 1000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zentrova;
  static MemoryFileSystem fs;
  static SeismicRecord record;
  fs.AddFile("/f.sg2", std::string(reinterpret_cast<const char*>(data), size));
  int status = -1;
  std::string why;
  const int n = ReadSeg2File(fs, record, "/f.sg2", 1, 1, status, &why);
  Check(n >= 0 && status >= 0 && status <= 3);
  CheckRecord(record);
  ReadSeg2File(fs, record, "/f.sg2", 0, 1, status, &why);
  CheckRecord(record);
  ReadSeg2File(fs, record, "/f.sg2", 1, 0, status, &why);

  RecordingPrompt prompt;
  std::vector<CHeaderXY> headers;
  Check(ScanSeg2Headers(fs, prompt, "/f.sg2", headers) <= kMaxTraces);
  std::vector<std::vector<float>> joined;
  RecordTimeHeader time;
  const int appended = AppendSeg2File(fs, prompt, "/f.sg2", 0, 1000, 3, headers, joined, time);
  Check(appended <= kMaxTraces - 1000);
  return 0;
}
