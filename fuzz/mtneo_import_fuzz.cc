// Any bytes as a DaZEZIROZev / Orbel file.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/memory_file_system.h"
#include "records/mtneo_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zentrova;
  static MemoryFileSystem fs;
  static SeismicRecord record("/");
  RecordingPrompt prompt;
  fs.AddFile("/f.mtn", std::string(reinterpret_cast<const char*>(data), size));
  fs.AddFile("/monitor.txt", "");
  const int n = ImportMtNeoFile(fs, prompt, record, "/f.mtn", 1, 1);
  if (n != 0 && n != 1 && n != 3) std::abort();
  if (record.ppData.size() != static_cast<size_t>(record.nTraces)) std::abort();
  for (int i = 0; i < record.nTraces; ++i) {
    if (record.ppData[i].size() != static_cast<size_t>(record.pHeader[i].nSamples)) std::abort();
  }
  ImportMtNeoFile(fs, prompt, record, "/f.mtn", 0, 0);
  return 0;
}
