#pragma once
// The trace headers of a SEG-2 file without its samples, for planning a
// joined record.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/prompt.h"
#include "records/record_limits.h"
#include "records/seismic_record.h"

namespace zentrova {

// Fills headersXY[0..] (grown when too small) from the trace strings.
// Returns the number of traces scanned, -1 when the file cannot be opened.
// A trace that cannot be read ends the scan; the traces before it count.
int ScanSeg2Headers(FileSystem& fs, Prompt& prompt, const std::string& path, std::vector<CHeaderXY>& headersXY,
                    const RecordLimits& limits = {});

}  // namespace zentrova
