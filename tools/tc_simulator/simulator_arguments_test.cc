// TC.exe given wrong arguments, run as a real child process: the exit
// status, the first line it prints, and that it wrote nothing.

#include <filesystem>

#include <gtest/gtest.h>

#include "testing/child_process.h"
#include "testing/temp_folder.h"
#include "testing/time_zone.h"
#include "tools/tc_simulator/simulator_arguments.h"

namespace zentrova {
namespace {

using testing::RunProcess;
using testing::TempFolder;

const std::string kTc = ZENTROVA_TC;

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(SimulatorArguments, AWrongArgumentEndsItBeforeAnythingIsWritten) {
  TempFolder dir;
  std::filesystem::create_directories(dir.Path("out"));
  dir.Write("plain-file", "x");
  const std::string out = dir.Path("out");
  struct Case {
    std::vector<std::string> args;
    std::string firstLine;
  };
  const Case cases[] = {
      {{"--out", dir.Path("missing/dir"), "--count", "2"},
       "TC.exe: --out " + dir.Path("missing/dir") + ": no such folder"},
      {{"--out", dir.Path("plain-file"), "--count", "2"}, "TC.exe: --out " + dir.Path("plain-file") + ": not a folder"},
      {{"--out", out, "--count", "abc"}, "TC.exe: --count wants a whole number from 0 to 1000000, not \"abc\""},
      {{"--out", out, "--count", "-1"}, "TC.exe: --count wants a whole number from 0 to 1000000, not \"-1\""},
      {{"--out", out, "--count", "3x"}, "TC.exe: --count wants a whole number from 0 to 1000000, not \"3x\""},
      {{"--out", out, "--traces", "0"}, "TC.exe: --traces wants a whole number from 1 to 1024, not \"0\""},
      {{"--out", out, "--samples", "100001"}, "TC.exe: --samples wants a whole number from 1 to 100000, not \"100001\""},
      {{"--out", out, "--interval-ms", "1.5"},
       "TC.exe: --interval-ms wants a whole number from 0 to 86400000, not \"1.5\""},
      {{"--out", out, "--start-time", "2024-13-45 10:00:00"},
       "TC.exe: --start-time wants a local time \"YYYY-MM-DD HH:MM:SS\" that exists, not \"2024-13-45 10:00:00\""},
      {{"--out", out, "--start-time", "2023-02-29 10:00:00"},
       "TC.exe: --start-time wants a local time \"YYYY-MM-DD HH:MM:SS\" that exists, not \"2023-02-29 10:00:00\""},
      {{"--out", out, "--start-time", "2024-01-01 24:00:00"},
       "TC.exe: --start-time wants a local time \"YYYY-MM-DD HH:MM:SS\" that exists, not \"2024-01-01 24:00:00\""},
      {{"--out", out, "--start-time", "2024-01-01 10:00:00 and more"},
       "TC.exe: --start-time wants a local time \"YYYY-MM-DD HH:MM:SS\" that exists, not \"2024-01-01 10:00:00 and "
       "more\""},
      {{"--out", out, "--sample-interval-us", "0"},
       "TC.exe: --sample-interval-us wants a number from 0.001 up to 1e+07, not \"0\""},
      {{"--out", out, "--sample-interval-us", "nan"},
       "TC.exe: --sample-interval-us wants a number from 0.001 up to 1e+07, not \"nan\""},
      // Records hold the interval in whole nanoseconds: less than one would be written as 0.
      {{"--out", out, "--sample-interval-us", "0.0001"},
       "TC.exe: --sample-interval-us wants a number from 0.001 up to 1e+07, not \"0.0001\""},
      {{"--out", out, "--battery", "12V"}, "TC.exe: --battery wants a number from 0 up to 100, not \"12V\""},
      {{"--out", out, "--extension", "a/b"}, "TC.exe: --extension wants a file extension, not \"a/b\""},
      {{"--out", out, "--count"}, "TC.exe: --count needs a value"},
      {{"--out"}, "TC.exe: --out needs a value"},
      {{"--out", ""}, "TC.exe: --out needs a value, not an empty text"},
      {{"--bogus"}, "TC.exe: unknown option --bogus"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += " '" + a + "'";
    SCOPED_TRACE(shown);
    std::vector<std::string> argv = {kTc};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    auto run = RunProcess(argv);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(FirstLine(run.err), c.firstLine);
    EXPECT_EQ(FirstLine(run.err.substr(run.err.find('\n') + 1)), "usage: TC.exe [--out DIR] [options]");
    EXPECT_TRUE(std::filesystem::is_empty(out));
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("missing")));
}

TEST(SimulatorArguments, HelpAndASoundRun) {
  auto help = RunProcess({kTc, "--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(FirstLine(help.out), "usage: TC.exe [--out DIR] [options]");
  TempFolder dir;
  auto run = RunProcess({kTc, "--out", dir.path(), "--count", "2", "--interval-ms", "0", "--traces", "2", "--samples",
                         "10", "--start-time", "2024-02-29 23:59:59"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(FirstLine(run.out), "TC.exe: wrote 2 records to " + dir.path());
}

TEST(SimulatorArguments, ATimeTheLocalClockSkipsDoesNotExist) {
  testing::ScopedTimeZone tz("Europe/Berlin");
  EXPECT_FALSE(ParseLocalTime("2024-03-31 02:30:00"));  // clocks go from 02:00 to 03:00
  EXPECT_TRUE(ParseLocalTime("2024-03-31 03:30:00"));
  EXPECT_TRUE(ParseLocalTime("2024-02-29 10:00:00"));
  EXPECT_FALSE(ParseLocalTime("2024-13-45 10:00:00"));
}

}  // namespace
}  // namespace zentrova
