#pragma once
// How the record tool reads a record: a DaZEZIROZev / Orbel file by its
// name, anything else as SEG-2, as the station reads them.

#include <string>

#include "platform/file_system.h"
#include "platform/prompt.h"
#include "records/seismic_record.h"

namespace zentrova {

// The importer's questions and notes go to standard error.
class StderrPrompt : public Prompt {
 public:
  void Show(const std::string& text) override;
};

struct Outcome {
  int result = 0;
  int status = 0;
  bool read = false;
  std::string why;
};

// result -1: the file cannot be opened or is no record; read: the whole
// record is in memory. `why` says what went wrong otherwise.
Outcome ReadRecord(FileSystem& fs, SeismicRecord& record, const std::string& path);

std::string BaseName(const std::string& path);

}  // namespace zentrova
