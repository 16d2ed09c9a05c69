#pragma once
// A FileSystem that forwards to another one and injects failures: a full
// disk after a byte budget, refused moves, files that cannot be opened,
// files that look held by a writer. Tests use it to reach the error paths.

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "platform/forwarding_file_system.h"

namespace zentrova {

class FaultFileSystem : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;

  // Writes fail with kNoSpace once this many more bytes have been written.
  void SetWriteBudget(uint64_t bytes) { write_budget_ = bytes; }
  void ClearWriteBudget() { write_budget_.reset(); }
  // With the budget: an append that does not fit writes what does fit
  // before it fails, as a real disk does (off: it writes nothing).
  void SetPartialWrites(bool on) { partial_writes_ = on; }
  bool PartialWrites() const { return partial_writes_; }
  // Bytes left in the budget (all there are without one).
  uint64_t Room() const;
  // Any path containing one of these texts cannot be opened for reading.
  void FailOpenFor(const std::string& text) { fail_open_.insert(text); }
  // Moves, links and renames without replacing fail with this status while set.
  void FailMoves(Status status) { move_failure_ = std::move(status); }
  // As a FAT or exFAT file system: no hard links, and (with the second) no
  // rename that refuses to replace.
  void RefuseLinks(bool on) { refuse_links_ = on; }
  void RefuseNoReplaceRenames(bool on) { refuse_noreplace_ = on; }
  // Runs once, just before the next link or rename without replacing: lets a
  // test change a file between a copy and its placement.
  void BeforeNextPlacement(std::function<void()> hook) { before_placement_ = std::move(hook); }
  void AllowMoves() { move_failure_.reset(); }
  // Moves fail with kCrossDevice, as between two file systems; the caller's
  // copy fallback then runs over this file system.
  void PretendCrossDevice(bool on) { cross_device_ = on; }
  void HoldByWriter(const std::string& path) { held_.insert(path); }
  void Release(const std::string& path) { held_.erase(path); }

  StatusOr<std::unique_ptr<RandomAccessFile>> OpenForRead(const std::string& p) override;
  StatusOr<std::unique_ptr<WritableFile>> OpenForWrite(const std::string& p) override;
  StatusOr<std::unique_ptr<WritableFile>> OpenForAppend(const std::string& p) override;
  StatusOr<std::unique_ptr<UpdatableFile>> OpenForUpdate(const std::string& p) override;
  StatusOr<std::unique_ptr<RandomAccessFile>> OpenEntryForRead(const std::string& p) override;
  StatusOr<std::unique_ptr<WritableFile>> CreateNewFile(const std::string& p, int mode) override;
  Status LinkNoReplace(const std::string& a, const std::string& b) override;
  Status RenameNoReplace(const std::string& a, const std::string& b) override;
  Status MoveNoReplace(const std::string& a, const std::string& b) override;
  bool IsHeldByWriter(const std::string& p) override;
  WriterUse WriterUseOf(const std::string& p) override;

  // Called by the files this file system hands out.
  Status Spend(uint64_t bytes);

 private:
  StatusOr<std::unique_ptr<WritableFile>> Wrap(StatusOr<std::unique_ptr<WritableFile>> file);
  Status OpenFailure(const std::string& p) const;
  void RunPlacementHook();

  std::optional<uint64_t> write_budget_;
  bool partial_writes_ = false;
  std::set<std::string> fail_open_;
  std::optional<Status> move_failure_;
  bool cross_device_ = false;
  bool refuse_links_ = false;
  bool refuse_noreplace_ = false;
  std::function<void()> before_placement_;
  std::set<std::string> held_;
};

}  // namespace zentrova
