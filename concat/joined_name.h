#pragma once
// Names of joined records: JoinedRecordFileName with "<site>_concatenated"
// as its text, "..._concatenated_<first>_<last>.dat" (and the ".partial"
// file a join writes first). A joined record is never joined again.

#include <string>

namespace zentrova {

// True when the name holds "_concatenated_" followed by two running numbers
// ("_concatenated_10_12").
bool IsJoinedRecordName(const std::string& name);

}  // namespace zentrova
