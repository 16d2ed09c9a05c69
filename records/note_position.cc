#include "records/note_position.h"

#include <optional>

#include "records/seg2_text.h"

namespace zentrova {
namespace {

char At(std::string_view s, size_t i) { return i < s.size() ? s[i] : '\0'; }

// Degrees at c[at + 2], minutes at c[at + 6], seconds at c[at + 10]; the
// hemisphere letter at c[at] gives the sign.
float Coordinate(std::string_view note, size_t at, char negative) {
  double value = ScanInt(note, at + 2).value_or(0) + ScanInt(note, at + 6).value_or(0) / 60.0 +
                 ScanFloat(note, at + 10).value_or(0.0f) / 3600.0;
  return static_cast<float>(At(note, at) == negative ? -value : value);
}

bool IsGroup(std::string_view note, size_t lat, size_t lon) {
  char ns = At(note, lat);
  char ew = At(note, lon);
  return (ns == 'N' || ns == 'S') && (ew == 'E' || ew == 'W');
}

}  // namespace

int ParseNotePosition(std::string_view text, float& latitude, float& longitude) {
  size_t at = text.find("NOTE");
  if (at == std::string_view::npos) return 0;
  std::string_view note = text.substr(at);
  if (!IsGroup(note, 5, 24)) return 0;
  size_t lat = 5, lon = 24;
  if (IsGroup(note, 54, 73)) {
    lat = 54;
    lon = 73;
  }
  latitude = Coordinate(note, lat, 'S');
  longitude = Coordinate(note, lon, 'W');
  return 1;
}

}  // namespace zentrova
