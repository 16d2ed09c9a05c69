#pragma once
// The parts of an e-mail as mail servers expect them (RFC 5322, RFC 2047),
// and the checks of the sender's settings.

#include <cstdint>
#include <optional>
#include <string>

namespace zentrova::mail {

// "Thu, 10 Dec 2026 13:05:09 +0100": the local time of `seconds` with its
// offset from UTC.
std::string DateHeader(int64_t seconds);
// "<20261210130509.4242.9f86d081884c7d65@example.org>": unique per message;
// the domain is the sender address's.
std::string MessageId(int64_t seconds, long pid, uint64_t random, const std::string& from);
// The text as it is when it is ASCII without control characters, else as
// RFC 2047 encoded words (UTF-8, base64), folded onto continuation lines.
std::string EncodeHeaderText(const std::string& text);
// Text lines ended by CR LF, whatever the text used ("\n", "\r\n", "\r").
std::string CrLfLines(const std::string& text);
// True when the text is 7-bit with lines of at most 998 bytes.
bool SevenBitLines(const std::string& crlfText);

// Empty when the setting is sound; otherwise the reason.
std::string PortProblem(const std::string& text, long* port);
std::string HostProblem(const std::string& host);
std::string AddressProblem(const std::string& name, const std::string& address);

}  // namespace zentrova::mail
