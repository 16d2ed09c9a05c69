#include "notify/mail_subject.h"

#include <cstdio>

#include "platform/printf.h"

namespace zentrova {
namespace {

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// At most n bytes, never in the middle of a UTF-8 character.
std::string Shortened(const std::string& line, size_t n) {
  if (line.size() <= n) return line;
  size_t end = n - 3;
  while (end > 0 && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) --end;
  return line.substr(0, end) + "...";
}

std::string BatterySummary(const BatteryReading& battery, const char* tail) {
  if (battery.voltage <= 0.0f) return std::string("battery low") + tail;
  return Printf("battery %.1f V%s", static_cast<double>(battery.voltage), tail);
}

}  // namespace

std::string MailSubject(const std::string& site, const std::string& summary) {
  const std::string title = "Message from Zentrova at " + site;
  if (summary.empty()) return title;
  std::string tail = summary;
  for (char& c : tail) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';  // one header line
  }
  return title + ": " + tail;
}

std::string MessageSummary(const std::string& text, const BatteryReading& battery) {
  const std::string line = FirstLine(text);
  int a = 0, b = 0;
  if (line == "Zentrova started.") {
    const std::string more = text.size() > line.size() ? FirstLine(text.substr(line.size() + 1)) : "";
    if (more == "Tarnlink Controller did not start.") return "started, the controller did not start";
    return "started";
  }
  if (line == "Zentrova was closed.") return "closed";
  if (line == "Report from Zentrova.") return "report";
  if (std::sscanf(line.c_str(), "%d events were detected in %d", &a, &b) == 2) {
    return Printf("%d event%s in record %d", a, a == 1 ? "" : "s", b);
  }
  if (std::sscanf(line.c_str(), "Warnig ! There was no new file more than %d minutes.", &a) == 1) {
    return Printf("no new file for %d minutes", a);
  }
  if (StartsWith(line, "Warning ! Battery voltage is less than")) {
    return BatterySummary(battery, line.find("shoutdown") != std::string::npos ? ", shutting down" : "");
  }
  if (line == "System shutdown.") return "system shutdown";
  if (StartsWith(line, "Destination folder was changed to ")) {
    return Shortened("destination moved to " + line.substr(34), kSummaryLength);
  }
  if (line == "Warnig! No drive is available.") return "no drive available";
  return Shortened(line, kSummaryLength);
}

}  // namespace zentrova
