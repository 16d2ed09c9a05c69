#include "records/data_file_kind.h"

#include <gtest/gtest.h>

#include "platform/memory_file_system.h"

namespace zentrova {
namespace {

TEST(DataFileKind, ByExtensionAnywhereInTheName) {
  struct Case { const char* name; int kind; };
  const Case cases[] = {
      {"20150705_1234.sg2", 0}, {"REC.SG2", 0}, {"rec.Sg2", -1},   {"data.ORB", 16}, {"data.orB", -1},
      {"a.mtn.dat", 16},       {"notes.txt", 14}, {"a.dat.bak", 0}, {"x.ew1", 3},     {"rec.Dat", -1},
      {"r.8HD", 2},            {"r.org", 1},     {"r.segy", 9},    {"r.sgy", 9},      {"r.CDM", 10},
      {"r.csv", 12},           {"r.p95", 5},     {"r.dzt", 8},     {"r.SGM", 4},      {"1234", -1},
      {"r.MTn", 16},           {"r.ORb", 16},
  };
  for (const Case& c : cases) EXPECT_EQ(DataFileKind(c.name), c.kind) << c.name;
}

TEST(JoinFileKind, SeismicUnlessKnownOtherwise) {
  MemoryFileSystem fs;
  fs.AddFile("/w/short.txt", "hello\nworld");
  fs.AddFile("/w/mark.txt", "0123456789a@rest\n");
  fs.AddFile("/w/late.txt", "0123456789ab@\n");
  struct Case { const char* name; int kind; };
  const Case cases[] = {
      {"rec.dat", 0},       {"rec.23", 15},       {"rec.60", 0},      {"rec.5", 0},     {"rec.coh", 0},
      {"rec.pvi", 0},       {"rec.00", 15},       {"59", 15},         {"x.ew2", 3},     {"x.UD1", 3},
      {"x.gaa", 18},        {"x.SHZ", 19},        {"x.shl", 19},      {"x.sle", 0},     {"x.mtd", 20},
      {"x.orb", 16},        {"/w/short.txt", 14}, {"/w/mark.txt", 13}, {"/w/late.txt", 14},
      {"/w/missing.txt", 14},
  };
  for (const Case& c : cases) EXPECT_EQ(JoinFileKind(fs, c.name), c.kind) << c.name;
}

}  // namespace
}  // namespace zentrova
