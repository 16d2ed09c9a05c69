#pragma once
// Reading the traces of one SEG-2 file into a joined record being built
// from several files.

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/prompt.h"
#include "records/record_limits.h"
#include "records/seismic_record.h"

namespace zentrova {

// Reads the file's traces into data[firstIndex + i] and
// headersXY[firstIndex + i] (both grown when too small), keeping every
// step-th sample, and the file's time into timeHeader (first sample = the
// acquisition time, no delay applied). Returns the number of traces read,
// -1 when the file cannot be opened, 0 when a trace could not be read.
int AppendSeg2File(FileSystem& fs, Prompt& prompt, const std::string& path, int maxSamples, int firstIndex, int step,
                   std::vector<CHeaderXY>& headersXY, std::vector<std::vector<float>>& data,
                   RecordTimeHeader& timeHeader, const RecordLimits& limits = {});

// The same reading without the samples: headers, time, result and messages
// are those AppendSeg2File gives (the sizes are checked, nothing is read);
// `data` is left alone.
int AppendSeg2Headers(FileSystem& fs, Prompt& prompt, const std::string& path, int maxSamples, int firstIndex, int step,
                      std::vector<CHeaderXY>& headersXY, RecordTimeHeader& timeHeader, const RecordLimits& limits = {});

}  // namespace zentrova
