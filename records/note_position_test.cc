#include "records/note_position.h"

#include <gtest/gtest.h>

namespace zentrova {
namespace {

// Lays out a note with the groups at the columns the controller writes.
std::string Note(const std::string& first, const std::string& second) {
  std::string note = "NOTE " + first;
  note.resize(54, ' ');
  note += second;
  note.resize(110, ' ');
  return note;
}

TEST(ParseNotePosition, DegreesMinutesSeconds) {
  // N at 5, degrees at 7, minutes at 11, seconds at 15; E at 24, 26, 30, 34.
  const std::string first = "N 35  40  12.5     E 139 45  30.0";
  float lat = 0, lon = 0;
  ASSERT_EQ(ParseNotePosition("xx " + Note(first, ""), lat, lon), 1);
  EXPECT_NEAR(lat, 35.67014f, 1e-5);
  EXPECT_NEAR(lon, 139.75833f, 1e-5);

  const std::string second = "S 10  30  00.0     W 020 15  00.0";
  ASSERT_EQ(ParseNotePosition(Note(first, second), lat, lon), 1);
  EXPECT_NEAR(lat, -10.5f, 1e-5);
  EXPECT_NEAR(lon, -20.25f, 1e-5);
}

TEST(ParseNotePosition, NoUsablePosition) {
  float lat = 7, lon = 8;
  EXPECT_EQ(ParseNotePosition("no note here", lat, lon), 0);
  EXPECT_EQ(ParseNotePosition("NOTE  BASE_INTERVAL 4.00", lat, lon), 0);
  EXPECT_EQ(ParseNotePosition("NOTE N 35", lat, lon), 0);  // cut short before the longitude
  EXPECT_EQ(lat, 7);
  EXPECT_EQ(lon, 8);
}

}  // namespace
}  // namespace zentrova
