#pragma once
// Persistent settings: one store holds texts under keys. The station keeps
// two (its profile, section "General", and the product key shared with the
// e-mail program); the formats of the values are the caller's.

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

class KeyValueStore {
 public:
  virtual ~KeyValueStore() = default;
  virtual std::optional<std::string> Get(const std::string& key) = 0;
  // False when the value could not be stored; the caller decides whether
  // that matters (the stores of the station fail silently).
  virtual bool Set(const std::string& key, const std::string& value) = 0;
  // Several values at once: a store kept in a file writes it once for all
  // of them. False when any could not be stored.
  using Entries = std::vector<std::pair<std::string, std::string>>;
  virtual bool SetAll(const Entries& entries) {
    bool all = true;
    for (const auto& [key, value] : entries) all = Set(key, value) && all;
    return all;
  }
};

// One section of an INI-style text file: "[Section]" then "key=value"
// lines. The file is read at every Get, so another program's changes are
// seen, and replaced atomically at every Set (temporary file, flush,
// rename; mode 0600): a crash leaves the old file or the new one. A Set that
// changes nothing in the file does not write it (settings stored again and
// again as they are would wear out a flash card), and SetAll writes once. Lines of
// other sections and comment lines (";" or "#") are kept as they are. A
// damaged file gives what can be read of it and is never an error.
//
// A file that exists but cannot be read (too many open files, an I/O
// error, no permission) is never written: rewriting it from what could be
// read would lose every other setting in it. The values set meanwhile are
// kept in memory, given back by Get, and written with the next Set that
// can read the file again, or when the store ends; Set returns false until then. Get falls back to
// the last text it read. The notice hears of this once when it starts and
// once when the held values reached the file.
//
// Values are escaped: "\\" a backslash, "\n" a line feed, "\r" a carriage
// return, "\t" a tab, "\s" a space (written for spaces at the start or the
// end of a value, which would otherwise be lost); any other character
// stands for itself.
class IniFileStore : public KeyValueStore {
 public:
  IniFileStore(FileSystem& fs, std::string path, std::string section);
  ~IniFileStore() override;
  IniFileStore(const IniFileStore&) = delete;
  IniFileStore& operator=(const IniFileStore&) = delete;
  std::optional<std::string> Get(const std::string& key) override;
  bool Set(const std::string& key, const std::string& value) override;
  bool SetAll(const Entries& entries) override;
  const std::string& path() const { return path_; }
  // Where the lines about an unreadable file go (the station's log). Lines
  // from before it was set are handed to it at once. Never called with the
  // store's lock held, so it may take other locks.
  void SetNotice(std::function<void(const std::string&)> notice);

 private:
  // The file as read now with `pending` put in, written; false (and the
  // values held) when it cannot be read.
  bool WriteLocked(std::map<std::string, std::string> pending, std::string& notice);
  bool Unchanged(const std::string& text, std::string& notice);
  void Tell(const std::string& text);

  FileSystem& fs_;
  std::string path_;
  std::string section_;
  std::mutex mutex_;  // one read-modify-write at a time from this process
  std::map<std::string, std::string> held_;  // set while the file could not be read
  std::optional<std::string> lastText_;      // the file as last read
  bool toldUnreadable_ = false;
  std::function<void(const std::string&)> notice_;
  std::vector<std::string> untold_;  // lines from before the notice was set
};

// The whole text of a settings file as the store reads it: following a
// link, never waiting on a FIFO, nothing but a regular file, and none over
// 1 MiB (kNotFound when nothing is there).
StatusOr<std::string> ReadSettingsFile(FileSystem& fs, const std::string& path);

std::string EscapeIniValue(const std::string& value);
std::string UnescapeIniValue(const std::string& text);

class MemoryStore : public KeyValueStore {
 public:
  std::optional<std::string> Get(const std::string& key) override;
  bool Set(const std::string& key, const std::string& value) override;
  std::map<std::string, std::string> values;
  bool failWrites = false;
};

}  // namespace zentrova
