#pragma once
// What the record tool prints about a record: a readable summary, or one
// JSON object with the values an acceptance check compares.

#include <string>

#include "records/seismic_record.h"

namespace zentrova {

std::string RecordJson(const SeismicRecord& record, int result, int status);
std::string RecordSummary(const SeismicRecord& record, const std::string& path, int result, int status);

}  // namespace zentrova
