#include "archive/day_split.h"

#include <cmath>

namespace zentrova {

std::vector<DayPiece> SplitAtMidnights(const ArchiveTrace& trace, int64_t startUs) {
  std::vector<DayPiece> pieces;
  const size_t n = trace.Count();
  if (n == 0 || !(trace.intervalUs > 0)) return pieces;
  auto timeOf = [&](size_t i) {
    return startUs + static_cast<int64_t>(std::llround(static_cast<double>(i) * trace.intervalUs));
  };
  size_t first = 0;
  while (first < n) {
    const UtcDay day = UtcDayOf(timeOf(first));
    // The first sample at or after the day's end.
    const double k = std::ceil(static_cast<double>(day.EndUs() - startUs) / trace.intervalUs);
    size_t last = k >= static_cast<double>(n) ? n : static_cast<size_t>(std::max(0.0, k));
    while (last > first && timeOf(last - 1) >= day.EndUs()) --last;
    while (last < n && timeOf(last) < day.EndUs()) ++last;
    if (last <= first) last = first + 1;  // never stand still
    DayPiece p;
    p.day = day;
    p.piece.trace = &trace;
    p.piece.first = first;
    p.piece.count = last - first;
    p.piece.startUs = timeOf(first);
    pieces.push_back(p);
    first = last;
  }
  return pieces;
}

}  // namespace zentrova
