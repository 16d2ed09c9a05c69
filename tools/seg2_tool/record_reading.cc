#include "tools/seg2_tool/record_reading.h"

#include <iostream>

#include "concat/seg2_identifier.h"
#include "records/data_file_kind.h"
#include "records/mtneo_import.h"
#include "records/seg2_reader.h"

namespace zentrova {

void StderrPrompt::Show(const std::string& text) { std::cerr << text << "\n"; }

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

Outcome ReadRecord(FileSystem& fs, SeismicRecord& record, const std::string& path) {
  Outcome o;
  if (DataFileKind(BaseName(path)) == DataKindMtNeo) {
    StderrPrompt prompt;
    if (!fs.Exists(path)) {
      o.result = -1;
      o.why = "cannot open " + path;
      return o;
    }
    o.result = ImportMtNeoFile(fs, prompt, record, path, 1, 1);
    o.status = o.result > 0 ? 0 : 1;
    o.read = o.result > 0;
    if (!o.read) o.why = "not a usable DaZEZIROZev or Orbel record (rejected, or shorter than 59 s)";
    return o;
  }
  if (IdentifySeg2File(fs, path) == Seg2Identity::kNotSeg2) {
    o.result = -1;
    o.why = path + ": not a SEG-2 record (it does not begin with the SEG-2 identifier)";
    return o;
  }
  o.result = ReadSeg2File(fs, record, path, 1, 1, o.status, &o.why);
  o.read = o.result >= 0 && o.status == kSeg2AllRead;
  return o;
}

}  // namespace zentrova
