#include "monitor/entry_screen.h"

#include "records/data_file_kind.h"
#include "records/seg2_whole.h"

namespace zentrova {

std::string NotARecordLine(const std::string& name, EntryType type) {
  const std::string what = type == EntryType::kLink ? "a symbolic link, which is not followed"
                                                    : std::string("a ") + EntryTypeName(type);
  return name + " is " + what + ", not a record file: it is left where it is.";
}

bool EntryScreen::Admit(FileSystem& fs, ActivityLog& log, const std::string& path, const std::string& name,
                        int64_t now) {
  auto info = fs.Inspect(path);
  if (!info.ok()) return false;  // gone since the listing
  if (info->type == EntryType::kRegular) {
    const WriterUse use = fs.WriterUseOf(path);
    if (use != WriterUse::kUnknown) return use == WriterUse::kNone;
    if (DataFileKind(name) != DataKindSeg2 || Seg2RecordIsWhole(fs, path)) return true;
    return now - info->mtimeNs / 1000000000 >= kUnwholeQuietSeconds;
  }
  if (info->type == EntryType::kFolder) return false;
  if (reported_.count(path) == 0 && !full_) {
    full_ = reported_.size() >= kMaxReported;
    if (!full_) reported_.insert(path);
    const std::string line = full_ ? "More entries that are not record files are left where they are; they are not listed."
                                   : NotARecordLine(name, info->type);
    log.Add(line);
    log.AppendToLogFile(line);
  }
  return false;
}

}  // namespace zentrova
