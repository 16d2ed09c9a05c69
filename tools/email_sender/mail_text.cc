#include "tools/email_sender/mail_text.h"

#include <time.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace zentrova::mail {
namespace {

const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string Base64(const std::string& bytes) {
  static const char* table = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += {table[(v >> 18) & 63], table[(v >> 12) & 63], table[(v >> 6) & 63], table[v & 63]};
  }
  if (i + 1 == bytes.size()) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    out += {table[(v >> 18) & 63], table[(v >> 12) & 63], '=', '='};
  } else if (i + 2 == bytes.size()) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    out += {table[(v >> 18) & 63], table[(v >> 12) & 63], table[(v >> 6) & 63], '='};
  }
  return out;
}

bool PlainHeaderText(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c >= 0x7f) return false;
  }
  return text.find("=?") == std::string::npos;  // would read as an encoded word
}

}  // namespace

std::string DateHeader(int64_t seconds) {
  const time_t t = static_cast<time_t>(seconds);
  struct tm local = {};
  localtime_r(&t, &local);
  const long offset = local.tm_gmtoff / 60;
  const long magnitude = offset < 0 ? -offset : offset;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld", kDays[local.tm_wday % 7],
                local.tm_mday, kMonths[local.tm_mon % 12], local.tm_year + 1900, local.tm_hour, local.tm_min,
                local.tm_sec, offset < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
  return text;
}

std::string MessageId(int64_t seconds, long pid, uint64_t random, const std::string& from) {
  const time_t t = static_cast<time_t>(seconds);
  struct tm utc = {};
  gmtime_r(&t, &utc);
  std::string domain = from.substr(from.find('@') == std::string::npos ? from.size() : from.find('@') + 1);
  if (domain.empty()) domain = "zentrova.invalid";
  char text[96];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d.%ld.%016llx", utc.tm_year + 1900, utc.tm_mon + 1,
                utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, pid, static_cast<unsigned long long>(random));
  return "<" + std::string(text) + "@" + domain + ">";
}

std::string EncodeHeaderText(const std::string& text) {
  if (PlainHeaderText(text)) return text;
  // Words of at most 45 bytes (60 in base64, 72 with the frame: under the
  // 75 allowed), cut between characters, never inside one.
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = std::min(text.size(), i + 45);
    while (end < text.size() && end > i + 1 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    if (!out.empty()) out += "\r\n ";
    out += "=?UTF-8?B?" + Base64(text.substr(i, end - i)) + "?=";
    i = end;
  }
  return out;
}

std::string CrLfLines(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out.push_back(text[i]);
    }
  }
  if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0) out += "\r\n";
  return out;
}

bool SevenBitLines(const std::string& crlfText) {
  size_t line = 0;
  for (unsigned char c : crlfText) {
    if (c >= 0x80 || c == 0) return false;
    line = (c == '\n') ? 0 : line + 1;
    if (line > 998) return false;
  }
  return true;
}

std::string PortProblem(const std::string& text, long* port) {
  char* end = nullptr;
  const long v = text.empty() ? 0 : std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < 1 || v > 65535) {
    return "iPortNumber \"" + text + "\" is not a port number (1 to 65535; 587 for STARTTLS, 465 for TLS)";
  }
  *port = v;
  return "";
}

std::string HostProblem(const std::string& host) {
  if (host.find("://") != std::string::npos) {
    return "SMTPServer \"" + host + "\" is a URL; give the mail server's host name only";
  }
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') return "";  // an IPv6 address
  for (unsigned char c : host) {
    if (!(std::isalnum(c) || c == '.' || c == '-' || c == '_')) {
      return "SMTPServer \"" + host + "\" is not a host name";
    }
  }
  return "";
}

std::string AddressProblem(const std::string& name, const std::string& address) {
  const size_t at = address.find('@');
  bool bad = at == std::string::npos || at == 0 || at + 1 == address.size();
  for (unsigned char c : address) {
    if (c <= 0x20 || c == '<' || c == '>' || c == ',' || c == 0x7f) bad = true;
  }
  return bad ? name + " \"" + address + "\" is not an e-mail address" : "";
}

}  // namespace zentrova::mail
