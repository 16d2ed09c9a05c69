#include "platform/move_by_copy.h"

#include <vector>

#include "platform/fitting_name.h"

namespace zentrova {
namespace {

constexpr size_t kChunk = 1 << 20;

Status CopyInto(FileSystem& fs, const std::string& from, const std::string& tmp, const EntryInfo& source) {
  auto src = fs.OpenEntryForRead(from);
  if (!src.ok()) return src.status();
  auto dst = fs.CreateNewFile(tmp, source.mode & 0777);
  if (!dst.ok()) return dst.status();
  std::vector<char> buf(kChunk);
  uint64_t offset = 0;
  for (;;) {
    auto n = (*src)->ReadAt(offset, buf.size(), buf.data());
    if (!n.ok()) return n.status();
    if (*n == 0) break;
    Status st = (*dst)->Append(std::string_view(buf.data(), *n));
    if (!st.ok()) return st;
    offset += *n;
  }
  if (offset != (*src)->Size() || offset != source.size) {
    return Status::IoError("source changed while copying " + from);
  }
  Status st = (*dst)->Sync();
  if (!st.ok()) return st;
  return (*dst)->Close();
}

// The source is still the file that was copied, with the same contents.
Status Unchanged(FileSystem& fs, const std::string& from, const EntryInfo& before) {
  auto now = fs.Inspect(from);
  if (!now.ok()) return now.status();
  if (now->type != before.type || now->size != before.size || now->mtimeNs != before.mtimeNs ||
      now->inode != before.inode || now->device != before.device) {
    return Status::IoError("source changed while copying " + from + "; it stays where it is");
  }
  return Status::Ok();
}

}  // namespace

Status PlaceWithoutReplacing(FileSystem& fs, const std::string& from, const std::string& to) {
  Status st = fs.LinkNoReplace(from, to);
  if (st.ok()) {
    fs.Remove(from);
    return Status::Ok();
  }
  if (st.code() != Status::Code::kUnsupported) return st;
  st = fs.RenameNoReplace(from, to);
  if (st.code() != Status::Code::kUnsupported) return st;
  // The exclusive create claims the name; the rename then replaces only our
  // own empty placeholder.
  auto placeholder = fs.CreateNewFile(to, 0600);
  if (!placeholder.ok()) return placeholder.status();
  st = (*placeholder)->Close();
  if (st.ok()) st = fs.ReplaceFile(from, to);
  if (!st.ok()) fs.Remove(to);
  return st;
}

Status MoveByCopy(FileSystem& fs, const std::string& from, const std::string& to) {
  auto source = fs.Inspect(from);
  if (!source.ok()) return source.status();
  if (source->type != EntryType::kRegular) {
    return Status::Invalid(std::string("cannot move ") + from + ": is a " + EntryTypeName(source->type) +
                           ", not a regular file");
  }
  if (fs.Inspect(to).ok()) return Status::Exists("cannot move " + from + ": " + to + " exists");
  // The copy under way has the final name with ".partial" after it,
  // shortened where that would be too long a name.
  const size_t cut = to.find_last_of(fs.Separator()) + 1;  // 0 without a folder
  const std::string tmp = to.substr(0, cut) + NameWithSuffix(to.substr(cut), ".partial");
  fs.Remove(tmp);  // left by a move cut short
  Status st = CopyInto(fs, from, tmp, *source);
  if (st.ok()) st = Unchanged(fs, from, *source);
  if (st.ok()) st = PlaceWithoutReplacing(fs, tmp, to);
  fs.Remove(tmp);
  if (!st.ok()) return st;
  st = Unchanged(fs, from, *source);
  if (st.code() == Status::Code::kNotFound) return Status::Ok();  // gone meanwhile: the copy is the record
  if (!st.ok()) {
    fs.Remove(to);  // our own copy, now out of date; the source keeps the record
    return st;
  }
  st = fs.Remove(from);
  if (!st.ok()) return Status::SourceRemains(st.message());  // the copy is whole and stays
  return st;
}

}  // namespace zentrova
