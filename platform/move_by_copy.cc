#include "platform/move_by_copy.h"

#include <vector>

namespace zentrova {
namespace {

constexpr size_t kChunk = 1 << 20;

Status CopyInto(FileSystem& fs, const std::string& from, const std::string& tmp) {
  auto src = fs.OpenForRead(from);
  if (!src.ok()) return src.status();
  auto dst = fs.OpenForWrite(tmp);
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
  if (offset != (*src)->Size()) return Status::IoError("source changed while copying " + from);
  Status st = (*dst)->Sync();
  if (!st.ok()) return st;
  return (*dst)->Close();
}

}  // namespace

Status MoveByCopy(FileSystem& fs, const std::string& from, const std::string& to) {
  if (fs.Exists(to)) return Status::Exists("cannot move " + from + ": " + to + " exists");
  const std::string tmp = to + ".partial";
  Status st = CopyInto(fs, from, tmp);
  if (st.ok()) st = fs.LinkNoReplace(tmp, to);
  fs.Remove(tmp);
  if (!st.ok()) return st;
  return fs.Remove(from);
}

}  // namespace zentrova
