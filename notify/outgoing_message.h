#pragma once
// One message on its way out of the station (an e-mail for the sender
// program or a report form), and its file in the spool folder.
//
// Spool file: "<kind>-<number>.msg" (kind "mail" or "form", number at least
// twelve digits, zeros in front, counting up), mode 0600, written whole
// under a temporary name and renamed into place. Text lines "key=value"
// with values escaped as in the settings files ("\n", "\r", "\t", "\s",
// "\\"); the first line is "zentrova-outbox=1". Keys: kind, created
// (seconds since 1970), attempts, reported (1 once a failed attempt was
// logged), text (the station's message), title, body, send (1: start the
// sender), announce (1: tell in the log once it was delivered), program,
// attachment (one line per file, in order), url, field (eight lines, in
// form order). Only paths of attachments are kept, never their bytes, and
// never a setting of the sender (its password stays in the product key).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

struct OutgoingMessage {
  std::string kind;  // "mail" or "form"
  int64_t created = 0;
  int attempts = 0;  // failed attempts so far
  int reported = 0;
  std::string text;
  // An e-mail:
  std::string title;
  std::string body;
  bool send = true;
  bool announce = false;  // its delivery is told in the log
  std::string program;
  std::vector<std::string> attachments;
  // A form:
  std::string url;
  std::vector<std::string> fields;

  // Not stored:
  uint64_t number = 0;     // order in the spool
  std::string file;        // its spool file; empty while it is kept in memory only
  uint64_t bytes = 0;      // size of that file
  int64_t dueMs = 0;       // next attempt, steady milliseconds
  int64_t bornMs = 0;      // when it was made, on the clock's steady scale
};

std::string SpoolFileName(const std::string& kind, uint64_t number);
// The number of a spool file name of that kind, or nothing: the name must
// be the one SpoolFileName gives for it, of any number of digits.
std::optional<uint64_t> SpoolFileNumber(const std::string& kind, const std::string& name);

std::string FormatOutgoingMessage(const OutgoingMessage& m);
std::optional<OutgoingMessage> ParseOutgoingMessage(const std::string& text);

// Writes the message's file into folder atomically, mode 0600; sets
// m.file and m.bytes. With `replace` false an existing file of that name
// is left as it is and the save fails (another station on the same
// folder took the number).
Status SaveOutgoingMessage(FileSystem& fs, const std::string& folder, OutgoingMessage& m, bool replace = true);

}  // namespace zentrova
