#pragma once
// Outcome of a platform operation: ok, or a kind of failure with a message
// that names what failed (path and system error text), ready for the log.

#include <optional>
#include <string>
#include <utility>

namespace zentrova {

class Status {
 public:
  enum class Code { kOk, kNotFound, kExists, kIoError, kNoSpace, kCrossDevice, kInvalid, kUnsupported, kSourceRemains };

  Status() = default;
  static Status Ok() { return Status(); }
  static Status Error(Code code, std::string message) { return Status(code, std::move(message)); }
  static Status NotFound(std::string m) { return Error(Code::kNotFound, std::move(m)); }
  static Status Exists(std::string m) { return Error(Code::kExists, std::move(m)); }
  static Status IoError(std::string m) { return Error(Code::kIoError, std::move(m)); }
  static Status NoSpace(std::string m) { return Error(Code::kNoSpace, std::move(m)); }
  static Status CrossDevice(std::string m) { return Error(Code::kCrossDevice, std::move(m)); }
  static Status Invalid(std::string m) { return Error(Code::kInvalid, std::move(m)); }
  // The file system does not offer the operation (hard links on FAT).
  static Status Unsupported(std::string m) { return Error(Code::kUnsupported, std::move(m)); }
  // A move that copied the file whole to its target but could not remove
  // the source (a read-only folder): the file now exists at both places.
  static Status SourceRemains(std::string m) { return Error(Code::kSourceRemains, std::move(m)); }

  bool ok() const { return code_ == Code::kOk; }
  Code code() const { return code_; }
  const std::string& message() const { return message_; }

 private:
  Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}
  Code code_ = Code::kOk;
  std::string message_;
};

// A value or the Status that explains why there is none.
template <typename T>
class StatusOr {
 public:
  StatusOr(T value) : value_(std::move(value)) {}          // NOLINT: implicit by design
  StatusOr(Status status) : status_(std::move(status)) {}  // NOLINT: implicit by design

  bool ok() const { return status_.ok(); }
  const Status& status() const { return status_; }
  T& value() { return *value_; }
  const T& value() const { return *value_; }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }

 private:
  Status status_;
  std::optional<T> value_;
};

}  // namespace zentrova
