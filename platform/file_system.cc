#include "platform/file_system.h"

namespace zentrova {

const char* EntryTypeName(EntryType type) {
  switch (type) {
    case EntryType::kRegular: return "file";
    case EntryType::kFolder: return "folder";
    case EntryType::kLink: return "symbolic link";
    case EntryType::kFifo: return "FIFO";
    case EntryType::kSocket: return "socket";
    case EntryType::kDevice: return "device node";
    case EntryType::kOther: break;
  }
  return "special entry";
}

StatusOr<std::string> ReadWholeFile(FileSystem& fs, const std::string& path) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return file.status();
  return ReadWholeFile(**file);
}

StatusOr<std::string> ReadWholeFile(RandomAccessFile& file) {
  std::string data(file.Size(), '\0');
  size_t done = 0;
  while (done < data.size()) {
    auto n = file.ReadAt(done, data.size() - done, data.data() + done);
    if (!n.ok()) return n.status();
    if (*n == 0) break;  // the file shrank while we read it
    done += *n;
  }
  data.resize(done);
  return data;
}

Status WriteWholeFile(FileSystem& fs, const std::string& path, std::string_view data) {
  auto file = fs.OpenForWrite(path);
  if (!file.ok()) return file.status();
  Status st = (*file)->Append(data);
  Status closed = (*file)->Close();
  return st.ok() ? closed : st;
}

Status AppendToFile(FileSystem& fs, const std::string& path, std::string_view data) {
  auto file = fs.OpenForAppend(path);
  if (!file.ok()) return file.status();
  Status st = (*file)->Append(data);
  Status closed = (*file)->Close();
  return st.ok() ? closed : st;
}

void CreateFolders(FileSystem& fs, const std::string& folder) {
  if (folder.empty() || fs.IsDirectory(folder)) return;
  const size_t cut = folder.find_last_of(fs.Separator());
  if (cut != std::string::npos && cut > 0) CreateFolders(fs, folder.substr(0, cut));
  fs.CreateFolder(folder);
}

std::string JoinPath(const FileSystem& fs, const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == fs.Separator()) return folder + name;
  return folder + fs.Separator() + name;
}

Status ReadExactly(RandomAccessFile& file, uint64_t offset, size_t n, char* dst) {
  size_t done = 0;
  while (done < n) {
    auto got = file.ReadAt(offset + done, n - done, dst + done);
    if (!got.ok()) return got.status();
    if (*got == 0) {
      return Status::IoError("unexpected end of file at offset " + std::to_string(offset + done));
    }
    done += *got;
  }
  return Status::Ok();
}

}  // namespace zentrova
