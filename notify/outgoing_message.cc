#include "notify/outgoing_message.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/key_value_store.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

constexpr const char* kMagic = "zentrova-outbox=1";

bool ParseInt(const std::string& text, int64_t& out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (*end != '\0') return false;
  out = v;
  return true;
}

}  // namespace

std::string SpoolFileName(const std::string& kind, uint64_t number) {
  return kind + "-" + Printf("%012llu", static_cast<unsigned long long>(number)) + ".msg";
}

std::optional<uint64_t> SpoolFileNumber(const std::string& kind, const std::string& name) {
  const std::string prefix = kind + "-";
  const std::string suffix = ".msg";
  if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return std::nullopt;
  }
  const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  uint64_t n = 0;
  for (const char c : digits) {
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (c < '0' || c > '9' || n > (UINT64_MAX - digit) / 10) return std::nullopt;
    n = n * 10 + digit;
  }
  // Only the name this number is written under: another spelling of it
  // ("mail-1.msg") would leave its file behind when the message is saved again.
  if (name != SpoolFileName(kind, n)) return std::nullopt;
  return n;
}

std::string FormatOutgoingMessage(const OutgoingMessage& m) {
  std::string out = std::string(kMagic) + "\n";
  auto line = [&out](const char* key, const std::string& value) { out += key + ("=" + EscapeIniValue(value)) + "\n"; };
  line("kind", m.kind);
  line("created", std::to_string(m.created));
  line("attempts", std::to_string(m.attempts));
  line("reported", std::to_string(m.reported));
  line("text", m.text);
  line("title", m.title);
  line("body", m.body);
  line("send", m.send ? "1" : "0");
  if (m.announce) line("announce", "1");  // absent: not told, as in files of earlier versions
  line("program", m.program);
  for (const auto& a : m.attachments) line("attachment", a);
  line("url", m.url);
  for (const auto& f : m.fields) line("field", f);
  return out;
}

std::optional<OutgoingMessage> ParseOutgoingMessage(const std::string& text) {
  OutgoingMessage m;
  size_t start = 0;
  bool first = true;
  bool created = false;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (first) {
      if (line != kMagic) return std::nullopt;
      first = false;
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    const std::string key = line.substr(0, eq);
    const std::string value = UnescapeIniValue(line.substr(eq + 1));
    int64_t n = 0;
    if (key == "kind") {
      m.kind = value;
    } else if (key == "created" || key == "attempts" || key == "reported") {
      if (!ParseInt(value, n)) return std::nullopt;
      if (key == "created") {
        m.created = n;
        created = true;
      } else if (key == "attempts") {
        m.attempts = static_cast<int>(std::max<int64_t>(0, std::min<int64_t>(n, 1000000)));
      } else {
        m.reported = n != 0 ? 1 : 0;
      }
    } else if (key == "text") {
      m.text = value;
    } else if (key == "title") {
      m.title = value;
    } else if (key == "body") {
      m.body = value;
    } else if (key == "send") {
      m.send = value == "1";
    } else if (key == "announce") {
      m.announce = value == "1";
    } else if (key == "program") {
      m.program = value;
    } else if (key == "attachment") {
      m.attachments.push_back(value);
    } else if (key == "url") {
      m.url = value;
    } else if (key == "field") {
      m.fields.push_back(value);
    }  // other keys: written by a later version; what is known is enough to send
  }
  if (first || !created || (m.kind != "mail" && m.kind != "form")) return std::nullopt;
  if (m.kind == "form" && m.fields.size() != 8) return std::nullopt;
  return m;
}

Status SaveOutgoingMessage(FileSystem& fs, const std::string& folder, OutgoingMessage& m, bool replace) {
  const std::string name = SpoolFileName(m.kind, m.number);
  const std::string path = JoinPath(fs, folder, name);
  const std::string tmp = JoinPath(fs, folder, "." + name + ".tmp");
  const std::string text = FormatOutgoingMessage(m);
  auto file = fs.OpenForWrite(tmp);
  if (!file.ok()) return file.status();
  Status st = fs.SetMode(tmp, 0600);
  if (st.ok()) st = (*file)->Append(text);
  if (st.ok()) st = (*file)->Sync();
  Status closed = (*file)->Close();
  if (st.ok()) st = closed;
  if (st.ok()) st = replace ? fs.ReplaceFile(tmp, path) : fs.MoveNoReplace(tmp, path);
  if (!st.ok()) {
    fs.Remove(tmp);
    return st;
  }
  m.file = path;
  m.bytes = text.size();
  return Status::Ok();
}

}  // namespace zentrova
