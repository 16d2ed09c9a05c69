#pragma once
// The times the archive takes: every sample between 1970-01-01 and
// 2100-01-01 UTC, a record spanning two days at most. A clock or a header
// outside that is no recording (a year below zero, a record over
// centuries) and would scatter day files over the SDS tree.

#include <cstdint>
#include <string>

#include "archive/archive_trace.h"

namespace zentrova {

inline constexpr int64_t kEarliestArchivedUs = 0;                          // 1970-01-01
inline constexpr int64_t kLatestArchivedUs = int64_t{4102444800} * 1000000;  // 2100-01-01
inline constexpr double kLongestArchivedRecordUs = 2.0 * 86400 * 1e6;

// Whether a first-sample time (microseconds since 1970) is one the archive
// takes; false for one that is no number.
bool ArchivedTime(double us);

// Why the record's times are not archived; empty when they are.
std::string ArchiveTimeProblem(const ArchiveRecord& record);

}  // namespace zentrova
