#include "platform/memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace zentrova {
namespace {

std::string Parent(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return "";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

class MemoryReadFile : public RandomAccessFile {
 public:
  explicit MemoryReadFile(std::shared_ptr<std::string> data) : data_(std::move(data)) {}
  uint64_t Size() const override { return data_->size(); }
  StatusOr<size_t> ReadAt(uint64_t offset, size_t n, char* dst) override {
    if (offset >= data_->size()) return size_t{0};
    size_t got = std::min<uint64_t>(n, data_->size() - offset);
    std::memcpy(dst, data_->data() + offset, got);
    return got;
  }
 private:
  std::shared_ptr<std::string> data_;
};

class MemoryWriteFile : public WritableFile {
 public:
  explicit MemoryWriteFile(std::shared_ptr<std::string> data) : data_(std::move(data)) {}
  Status Append(std::string_view d) override { data_->append(d); return Status::Ok(); }
  Status Sync() override { return Status::Ok(); }
  Status Close() override { return Status::Ok(); }
  Status Truncate(uint64_t size) override {
    if (size < data_->size()) data_->resize(size);
    return Status::Ok();
  }
 private:
  std::shared_ptr<std::string> data_;
};

class MemoryUpdateFile : public UpdatableFile {
 public:
  explicit MemoryUpdateFile(std::shared_ptr<std::string> data) : data_(std::move(data)) {}
  Status WriteAt(uint64_t offset, std::string_view d) override {
    if (data_->size() < offset + d.size()) data_->resize(offset + d.size(), '\0');
    data_->replace(offset, d.size(), d);
    return Status::Ok();
  }
  Status Sync() override { return Status::Ok(); }
  Status Close() override { return Status::Ok(); }
 private:
  std::shared_ptr<std::string> data_;
};

}  // namespace

MemoryFileSystem::MemoryFileSystem() { folders_.insert("/"); }

void MemoryFileSystem::AddFile(const std::string& path, std::string data) {
  files_[path] = std::make_shared<std::string>(std::move(data));
}

std::string MemoryFileSystem::Contents(const std::string& path) const {
  auto it = files_.find(path);
  return it == files_.end() ? std::string() : *it->second;
}

StatusOr<std::unique_ptr<RandomAccessFile>> MemoryFileSystem::OpenForRead(const std::string& path) {
  auto it = files_.find(path);
  if (it == files_.end()) return Status::NotFound("cannot open " + path + ": no such file");
  return std::unique_ptr<RandomAccessFile>(new MemoryReadFile(it->second));
}

StatusOr<std::unique_ptr<WritableFile>> MemoryFileSystem::OpenForWrite(const std::string& path) {
  if (!IsDirectory(Parent(path))) return Status::NotFound("cannot create " + path + ": no such folder");
  if (folders_.count(path)) return Status::IoError("cannot create " + path + ": is a folder");
  auto data = std::make_shared<std::string>();
  files_[path] = data;
  return std::unique_ptr<WritableFile>(new MemoryWriteFile(data));
}

StatusOr<std::unique_ptr<WritableFile>> MemoryFileSystem::OpenForAppend(const std::string& path) {
  auto it = files_.find(path);
  if (it == files_.end()) return OpenForWrite(path);
  return std::unique_ptr<WritableFile>(new MemoryWriteFile(it->second));
}

StatusOr<std::unique_ptr<UpdatableFile>> MemoryFileSystem::OpenForUpdate(const std::string& path) {
  auto created = OpenForWrite(path);
  if (!created.ok()) return created.status();
  return std::unique_ptr<UpdatableFile>(new MemoryUpdateFile(files_[path]));
}

StatusOr<std::unique_ptr<RandomAccessFile>> MemoryFileSystem::OpenEntryForRead(const std::string& path) {
  return OpenForRead(path);
}

StatusOr<std::unique_ptr<WritableFile>> MemoryFileSystem::CreateNewFile(const std::string& path, int mode) {
  if (Exists(path)) return Status::Exists("cannot create " + path + ": exists");
  auto created = OpenForWrite(path);
  if (created.ok()) modes_[path] = mode;
  return created;
}

StatusOr<EntryInfo> MemoryFileSystem::Inspect(const std::string& path) {
  EntryInfo info;
  if (folders_.count(path)) {
    info.type = EntryType::kFolder;
    info.mode = 0755;
    return info;
  }
  auto it = files_.find(path);
  if (it == files_.end()) return Status::NotFound("cannot inspect " + path + ": no such file");
  info.type = EntryType::kRegular;
  info.size = it->second->size();
  info.mode = Mode(path);
  return info;
}

Status MemoryFileSystem::RenameNoReplace(const std::string& from, const std::string& to) {
  return MoveNoReplace(from, to);
}

StatusOr<uint64_t> MemoryFileSystem::FileSize(const std::string& path) {
  auto it = files_.find(path);
  if (it == files_.end()) return Status::NotFound("cannot stat " + path + ": no such file");
  return static_cast<uint64_t>(it->second->size());
}

bool MemoryFileSystem::Exists(const std::string& path) {
  return files_.count(path) > 0 || folders_.count(path) > 0;
}

bool MemoryFileSystem::IsDirectory(const std::string& path) { return folders_.count(path) > 0; }

StatusOr<std::vector<std::string>> MemoryFileSystem::ListFolder(const std::string& path) {
  if (!IsDirectory(path)) return Status::NotFound("cannot list " + path + ": no such folder");
  std::vector<std::string> names = {".", ".."};
  auto collect = [&](const std::string& full) {
    if (full != path && Parent(full) == path) names.push_back(full.substr(full.find_last_of('/') + 1));
  };
  for (const auto& [name, data] : files_) collect(name);
  for (const auto& name : folders_) collect(name);
  std::sort(names.begin(), names.end());
  return names;
}

Status MemoryFileSystem::CreateFolder(const std::string& path) {
  if (Exists(path)) return Status::Exists("cannot create folder " + path + ": exists");
  if (!IsDirectory(Parent(path))) return Status::NotFound("cannot create folder " + path + ": no parent");
  folders_.insert(path);
  return Status::Ok();
}

Status MemoryFileSystem::Remove(const std::string& path) {
  if (files_.erase(path) == 0) return Status::NotFound("cannot remove " + path + ": no such file");
  return Status::Ok();
}

Status MemoryFileSystem::LinkNoReplace(const std::string& from, const std::string& to) {
  auto it = files_.find(from);
  if (it == files_.end()) return Status::NotFound("cannot link " + from + ": no such file");
  if (Exists(to)) return Status::Exists("cannot link to " + to + ": exists");
  if (!IsDirectory(Parent(to))) return Status::NotFound("cannot link to " + to + ": no such folder");
  files_[to] = std::make_shared<std::string>(*it->second);
  if (modes_.count(from)) modes_[to] = modes_[from];
  return Status::Ok();
}

Status MemoryFileSystem::MoveNoReplace(const std::string& from, const std::string& to) {
  Status st = LinkNoReplace(from, to);
  if (!st.ok()) return st;
  files_.erase(from);
  modes_.erase(from);
  return Status::Ok();
}

Status MemoryFileSystem::ReplaceFile(const std::string& from, const std::string& to) {
  auto it = files_.find(from);
  if (it == files_.end()) return Status::NotFound("cannot rename " + from + ": no such file");
  if (!IsDirectory(Parent(to))) return Status::NotFound("cannot rename to " + to + ": no such folder");
  files_[to] = it->second;
  files_.erase(from);
  if (modes_.count(from)) modes_[to] = modes_[from];
  modes_.erase(from);
  return Status::Ok();
}

Status MemoryFileSystem::SetMode(const std::string& path, int mode) {
  if (!files_.count(path)) return Status::NotFound("cannot set mode of " + path + ": no such file");
  modes_[path] = mode;
  return Status::Ok();
}

int MemoryFileSystem::Mode(const std::string& path) const {
  auto it = modes_.find(path);
  return it == modes_.end() ? 0644 : it->second;
}

bool MemoryFileSystem::IsHeldByWriter(const std::string&) { return false; }

}  // namespace zentrova
