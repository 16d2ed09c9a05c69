#include "platform/key_value_store.h"

#include <atomic>
#include <cstdio>
#include <cstdint>
#include <random>
#include <vector>

namespace zentrova {
namespace {

// A name beside `path` for the next new version of the file, never that of
// another writer's: two processes (two stations on one configuration
// folder, the station and the e-mail program) that shared one name would
// write into each other's file and could put a truncated or mixed file in
// place of the settings.
std::string NewVersionName(const std::string& path) {
  static const uint64_t process = [] {
    std::random_device random;
    return (static_cast<uint64_t>(random()) << 32) ^ random();
  }();
  static std::atomic<uint64_t> count{0};
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".tmp-%016llx-%llu", static_cast<unsigned long long>(process),
                static_cast<unsigned long long>(++count));
  return path + suffix;
}

// The lines without their LF or CR LF ends. A UTF-8 byte order mark (as
// Windows editors write) is no part of the first line; the file is
// written back without it.
std::vector<std::string> Lines(const std::string& text) {
  static const std::string kByteOrderMark = "\xEF\xBB\xBF";
  const size_t start = text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0 ? kByteOrderMark.size() : 0;
  std::vector<std::string> lines;
  std::string line;
  auto end = [&] {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    line.clear();
  };
  for (size_t i = start; i < text.size(); ++i) {
    if (text[i] == '\n') {
      end();
    } else {
      line.push_back(text[i]);
    }
  }
  if (!line.empty()) end();
  return lines;
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return s.substr(a, b - a);
}

bool IsSection(const std::string& line, std::string* name) {
  const std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  *name = t.substr(1, t.size() - 2);
  return true;
}

// Key of a "key=value" line, or nothing for other lines.
std::optional<std::string> KeyOf(const std::string& line) {
  const std::string t = Trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '#') return std::nullopt;
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return Trim(line.substr(0, eq));
}

std::string ParentOf(const std::string& path, char sep) {
  const size_t at = path.find_last_of(sep);
  return at == std::string::npos || at == 0 ? "" : path.substr(0, at);
}

// Creates the missing folders above `path`.
void CreateParents(FileSystem& fs, const std::string& path) { CreateFolders(fs, ParentOf(path, fs.Separator())); }

}  // namespace

// A settings file is a few kilobytes; one far larger (a log written into it
// by mistake, a damaged file system) is not a settings file, and reading it
// whole, as every read and write does, would take the station's memory.
constexpr uint64_t kLargestSettingsFile = 1 << 20;

StatusOr<std::string> ReadSettingsFile(FileSystem& fs, const std::string& path) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return file.status();
  const uint64_t size = (*file)->Size();
  if (size > kLargestSettingsFile) {
    return Status::IoError(path + " is " + std::to_string(size) + " bytes long, more than the " +
                           std::to_string(kLargestSettingsFile) + " of a settings file");
  }
  return ReadWholeFile(**file);
}

std::string EscapeIniValue(const std::string& value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case ' ':
        if (i == 0 || i + 1 == value.size()) {
          out += "\\s";
        } else {
          out += ' ';
        }
        break;
      default: out += c;
    }
  }
  return out;
}

std::string UnescapeIniValue(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char e = text[++i];
    switch (e) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 's': out += ' '; break;
      default: out += e;
    }
  }
  return out;
}

IniFileStore::IniFileStore(FileSystem& fs, std::string path, std::string section)
    : fs_(fs), path_(std::move(path)), section_(std::move(section)) {}

namespace {

std::optional<std::string> ValueIn(const std::string& text, const std::string& section, const std::string& key) {
  std::string current;
  for (const std::string& line : Lines(text)) {
    std::string name;
    if (IsSection(line, &name)) {
      current = name;
      continue;
    }
    if (current != section) continue;
    auto k = KeyOf(line);
    if (k && *k == key) return UnescapeIniValue(Trim(line.substr(line.find('=') + 1)));
  }
  return std::nullopt;
}

// `lines` with key=value in the section: the key's line replaced, or a new
// line at the end of the section (the section made when missing).
void PutEntry(std::vector<std::string>& lines, const std::string& section, const std::string& key,
              const std::string& value) {
  const std::string entry = key + "=" + EscapeIniValue(value);
  std::string current;
  long sectionEnd = -1;  // index after the last line of our section
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string name;
    if (IsSection(lines[i], &name)) {
      current = name;
      if (current == section) sectionEnd = static_cast<long>(i) + 1;
      continue;
    }
    if (current != section) continue;
    sectionEnd = static_cast<long>(i) + 1;
    auto k = KeyOf(lines[i]);
    if (k && *k == key) {
      lines[i] = entry;
      return;
    }
  }
  if (sectionEnd < 0) {
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  } else {
    lines.insert(lines.begin() + sectionEnd, entry);
  }
}

}  // namespace

std::optional<std::string> IniFileStore::Get(const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (auto it = held_.find(key); it != held_.end()) return it->second;
  auto text = ReadSettingsFile(fs_, path_);
  if (text.ok()) {
    lastText_ = *text;
  } else if (text.status().code() == Status::Code::kNotFound) {
    lastText_.reset();
  }
  if (!lastText_) return std::nullopt;
  return ValueIn(*lastText_, section_, key);
}

bool IniFileStore::Set(const std::string& key, const std::string& value) { return SetAll({{key, value}}); }

bool IniFileStore::SetAll(const Entries& entries) {
  std::string notice;
  bool stored = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::map<std::string, std::string> pending = held_;
    for (const auto& [key, value] : entries) pending[key] = value;
    stored = WriteLocked(std::move(pending), notice);
  }
  if (!notice.empty()) Tell(notice);
  return stored;
}

IniFileStore::~IniFileStore() {
  // Values held while the file could not be read go to it now, when it
  // reads again, rather than end with the process; no one is told any more.
  std::lock_guard<std::mutex> lock(mutex_);
  std::string unused;
  if (!held_.empty()) WriteLocked(held_, unused);
}

bool IniFileStore::WriteLocked(std::map<std::string, std::string> pending, std::string& notice) {
  std::vector<std::string> lines;
  auto text = ReadSettingsFile(fs_, path_);
  if (text.ok()) {
    lines = Lines(*text);
  } else if (text.status().code() != Status::Code::kNotFound) {
    // The file is there but could not be read: writing it now would keep
    // only what this process knows. The value waits in memory.
    held_ = std::move(pending);
    if (!toldUnreadable_) {
      toldUnreadable_ = true;
      notice = "Settings file " + path_ + " could not be read (" + text.status().message() +
               "); it is left as it is and changed settings are kept in memory until it can be read";
    }
    return false;
  }
  for (const auto& [k, v] : pending) PutEntry(lines, section_, k, v);
  std::string out;
  for (const auto& line : lines) out += line + "\n";
  if (text.ok() && out == *text) return Unchanged(out, notice);

  CreateParents(fs_, path_);
  const std::string tmp = NewVersionName(path_);
  auto file = fs_.OpenForWrite(tmp);
  if (!file.ok()) return false;
  fs_.SetMode(tmp, 0600);
  Status st = (*file)->Append(out);
  if (st.ok()) st = (*file)->Sync();
  Status closed = (*file)->Close();
  if (st.ok()) st = closed;
  if (st.ok()) st = fs_.ReplaceFile(tmp, path_);
  if (!st.ok()) {
    fs_.Remove(tmp);
    return false;
  }
  return Unchanged(out, notice);
}

// The file holds `text` now, with every value held in memory.
bool IniFileStore::Unchanged(const std::string& text, std::string& notice) {
  lastText_ = text;
  if (toldUnreadable_) {
    toldUnreadable_ = false;
    notice = "Settings file " + path_ + " could be read again; the settings kept in memory were written to it";
  }
  held_.clear();
  return true;
}

void IniFileStore::SetNotice(std::function<void(const std::string&)> notice) {
  std::vector<std::string> lines;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    notice_ = std::move(notice);
    if (notice_) lines.swap(untold_);
  }
  for (const std::string& line : lines) Tell(line);
}

void IniFileStore::Tell(const std::string& text) {
  std::function<void(const std::string&)> notice;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!notice_) {
      untold_.push_back(text);
      return;
    }
    notice = notice_;
  }
  notice(text);
}

std::optional<std::string> MemoryStore::Get(const std::string& key) {
  auto it = values.find(key);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

bool MemoryStore::Set(const std::string& key, const std::string& value) {
  if (failWrites) return false;
  values[key] = value;
  return true;
}

}  // namespace zentrova
