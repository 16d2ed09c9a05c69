#include "records/data_file_kind.h"

#include <cstdio>
#include <initializer_list>
#include <string_view>

namespace zentrova {
namespace {

struct Row {
  std::initializer_list<std::string_view> spellings;
  int kind;
};

bool Contains(const std::string& name, std::initializer_list<std::string_view> spellings) {
  for (auto s : spellings) {
    if (name.find(s) != std::string::npos) return true;
  }
  return false;
}

// ".txt" files whose first line has "@" as its 12th character are kind 13.
int TextKind(FileSystem& fs, const std::string& name) {
  auto file = fs.OpenForRead(name);
  if (!file.ok()) return 14;
  char line[12];
  auto n = (*file)->ReadAt(0, sizeof line, line);
  if (!n.ok()) return 14;
  for (size_t i = 0; i < *n; ++i) {
    if (line[i] == '\n' || line[i] == '\r') return 14;
  }
  return *n == 12 && line[11] == '@' ? 13 : 14;
}

bool IsMinuteExtension(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  const std::string tail = dot == std::string::npos ? name : name.substr(dot + 1);
  return tail.size() == 2 && tail[0] >= '0' && tail[0] <= '5' && tail[1] >= '0' && tail[1] <= '9';
}

}  // namespace

int DataFileKind(const std::string& name) {
  static const Row kRows[] = {
      {{".mtn", ".MTN", ".Mtn", ".MTn"}, 16},
      {{".orb", ".ORB", ".Orb", ".ORb"}, 16},
      {{".dat", ".DAT", ".sg2", ".SG2"}, 0},
      {{".8hd", ".8HD"}, 2},
      {{".org", ".ORG"}, 1},
      {{".ew", ".EW", ".ns", ".NS", ".ud", ".UD"}, 3},
      {{".sgm", ".SGM"}, 4},
      {{".p95", ".P95"}, 5},
      {{".dzt", ".DZT"}, 8},
      {{".sgy", ".SGY", ".segy", ".SEGY"}, 9},
      {{".cdm", ".CDM"}, 10},
      {{".csv", ".CSV"}, 12},
      {{".txt", ".TXT"}, 14},
  };
  for (const Row& row : kRows) {
    if (Contains(name, row.spellings)) return row.kind;
  }
  return DataKindNone;
}

int JoinFileKind(FileSystem& fs, const std::string& name) {
  if (IsMinuteExtension(name)) return 15;
  static const Row kBefore[] = {
      {{".mtn", ".MTN", ".Mtn", ".MTn", ".orb", ".ORB", ".Orb", ".ORb"}, 16},
      {{".8hd", ".8HD"}, 2},
      {{".org", ".ORG"}, 1},
      {{".ew", ".EW", ".ns", ".NS", ".ud", ".UD", ".ew1", ".EW1", ".ns1", ".NS1", ".ud1", ".UD1", ".ew2", ".EW2",
        ".ns2", ".NS2", ".ud2", ".UD2"},
       3},
      {{".sgm", ".SGM"}, 4},
      {{".p95", ".P95"}, 5},
      {{".dzt", ".DZT"}, 8},
      {{".sgy", ".SGY", ".segy", ".SEGY"}, 9},
      {{".cdm", ".CDM"}, 10},
      {{".csv", ".CSV"}, 12},
      {{".gaa", ".GAA"}, 18},
      {{".SHE", ".she", ".SHN", ".shn", ".SHZ", ".shz", ".SLE", ".shl", ".SLN", ".sln", ".SLZ", ".slz"}, 19},
  };
  for (const Row& row : kBefore) {
    if (Contains(name, row.spellings)) return row.kind;
  }
  if (Contains(name, {".txt", ".TXT"})) return TextKind(fs, name);
  if (Contains(name, {".mtd", ".MTD"})) return 20;
  return DataKindSeg2;
}

}  // namespace zentrova
