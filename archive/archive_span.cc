#include "archive/archive_span.h"

#include <cmath>

#include "platform/printf.h"

namespace zentrova {

bool ArchivedTime(double us) {
  return std::isfinite(us) && us >= static_cast<double>(kEarliestArchivedUs) &&
         us < static_cast<double>(kLatestArchivedUs);
}

std::string ArchiveTimeProblem(const ArchiveRecord& record) {
  if (!ArchivedTime(static_cast<double>(record.startUs))) {
    return Printf("its first sample (%.0f s after 1970) lies outside 1970 to 2100", static_cast<double>(record.startUs) / 1e6);
  }
  for (const ArchiveTrace& t : record.traces) {
    const double spanUs = static_cast<double>(t.Count()) * t.intervalUs;
    if (!(spanUs <= kLongestArchivedRecordUs)) {
      return Printf("trace %d spans %.0f s, more than the %.0f s a record may span", t.index + 1, spanUs / 1e6,
                    kLongestArchivedRecordUs / 1e6);
    }
    if (!ArchivedTime(static_cast<double>(record.startUs) + spanUs)) {
      return Printf("trace %d ends after 2100", t.index + 1);
    }
  }
  return "";
}

}  // namespace zentrova
