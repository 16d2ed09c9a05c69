#include "platform/fault_file_system.h"

#include "platform/move_by_copy.h"

namespace zentrova {
namespace {

class BudgetedFile : public WritableFile {
 public:
  BudgetedFile(std::unique_ptr<WritableFile> base, FaultFileSystem& fs) : base_(std::move(base)), fs_(fs) {}
  Status Append(std::string_view data) override {
    const uint64_t room = fs_.Room();
    Status st = fs_.Spend(data.size());
    if (!st.ok()) {
      // A real disk takes what fits before it says it is full.
      if (fs_.PartialWrites() && room > 0) base_->Append(data.substr(0, static_cast<size_t>(room)));
      return st;
    }
    return base_->Append(data);
  }
  Status Sync() override { return base_->Sync(); }
  Status Close() override { return base_->Close(); }
  Status Truncate(uint64_t size) override { return base_->Truncate(size); }
 private:
  std::unique_ptr<WritableFile> base_;
  FaultFileSystem& fs_;
};

class BudgetedUpdateFile : public UpdatableFile {
 public:
  BudgetedUpdateFile(std::unique_ptr<UpdatableFile> base, FaultFileSystem& fs) : base_(std::move(base)), fs_(fs) {}
  Status WriteAt(uint64_t offset, std::string_view data) override {
    Status st = fs_.Spend(data.size());
    if (!st.ok()) return st;
    return base_->WriteAt(offset, data);
  }
  Status Sync() override { return base_->Sync(); }
  Status Close() override { return base_->Close(); }
 private:
  std::unique_ptr<UpdatableFile> base_;
  FaultFileSystem& fs_;
};

}  // namespace

uint64_t FaultFileSystem::Room() const { return write_budget_ ? *write_budget_ : UINT64_MAX; }

Status FaultFileSystem::Spend(uint64_t bytes) {
  if (!write_budget_) return Status::Ok();
  if (bytes > *write_budget_) {
    *write_budget_ = 0;
    return Status::NoSpace("no space left on device (injected)");
  }
  *write_budget_ -= bytes;
  return Status::Ok();
}

StatusOr<std::unique_ptr<WritableFile>> FaultFileSystem::Wrap(StatusOr<std::unique_ptr<WritableFile>> file) {
  if (!file.ok()) return file.status();
  return std::unique_ptr<WritableFile>(new BudgetedFile(std::move(*file), *this));
}

Status FaultFileSystem::OpenFailure(const std::string& p) const {
  for (const auto& text : fail_open_) {
    if (p.find(text) != std::string::npos) return Status::IoError("cannot open " + p + " (injected)");
  }
  return Status::Ok();
}

void FaultFileSystem::RunPlacementHook() {
  if (!before_placement_) return;
  auto hook = std::move(before_placement_);
  before_placement_ = nullptr;
  hook();
}

StatusOr<std::unique_ptr<RandomAccessFile>> FaultFileSystem::OpenForRead(const std::string& p) {
  if (Status st = OpenFailure(p); !st.ok()) return st;
  return base().OpenForRead(p);
}

StatusOr<std::unique_ptr<RandomAccessFile>> FaultFileSystem::OpenEntryForRead(const std::string& p) {
  if (Status st = OpenFailure(p); !st.ok()) return st;
  return base().OpenEntryForRead(p);
}

StatusOr<std::unique_ptr<WritableFile>> FaultFileSystem::CreateNewFile(const std::string& p, int mode) {
  return Wrap(base().CreateNewFile(p, mode));
}

StatusOr<std::unique_ptr<WritableFile>> FaultFileSystem::OpenForWrite(const std::string& p) {
  return Wrap(base().OpenForWrite(p));
}

StatusOr<std::unique_ptr<UpdatableFile>> FaultFileSystem::OpenForUpdate(const std::string& p) {
  auto file = base().OpenForUpdate(p);
  if (!file.ok()) return file.status();
  return std::unique_ptr<UpdatableFile>(new BudgetedUpdateFile(std::move(*file), *this));
}

StatusOr<std::unique_ptr<WritableFile>> FaultFileSystem::OpenForAppend(const std::string& p) {
  return Wrap(base().OpenForAppend(p));
}

Status FaultFileSystem::LinkNoReplace(const std::string& a, const std::string& b) {
  if (move_failure_) return *move_failure_;
  if (refuse_links_) return Status::Unsupported("cannot link " + a + ": operation not permitted (injected)");
  RunPlacementHook();
  return base().LinkNoReplace(a, b);
}

Status FaultFileSystem::RenameNoReplace(const std::string& a, const std::string& b) {
  if (move_failure_) return *move_failure_;
  if (refuse_noreplace_) return Status::Unsupported("cannot rename " + a + ": invalid argument (injected)");
  RunPlacementHook();
  return base().RenameNoReplace(a, b);
}

Status FaultFileSystem::MoveNoReplace(const std::string& a, const std::string& b) {
  if (move_failure_) return *move_failure_;
  if (cross_device_) return MoveByCopy(*this, a, b);
  return base().MoveNoReplace(a, b);
}

bool FaultFileSystem::IsHeldByWriter(const std::string& p) {
  return held_.count(p) > 0 || base().IsHeldByWriter(p);
}

WriterUse FaultFileSystem::WriterUseOf(const std::string& p) {
  return held_.count(p) > 0 ? WriterUse::kWriting : base().WriterUseOf(p);
}

}  // namespace zentrova
