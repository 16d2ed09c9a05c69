#pragma once
// The record time in a SEG-2 file string area: a $GPZDA sentence from the
// GPS receiver, or ACQUISITION_DATE and ACQUISITION_TIME.

#include <string_view>

#include "records/seismic_record.h"

namespace zentrova {

// 1 to 12 for "jan"/"Jan"/"JAN" ... "dec"/"Dec"/"DEC", else 0.
int MonthFromName(std::string_view three);

// Parses the (normalised) file string area. Returns 1 and sets
// nAcquisitionMs, strAcquisition, tAcquisition and nGpsStatus when a
// readable time was found. Returns 0 when there is none, or when what is
// there is no valid calendar time: then nGpsStatus is 3 and the time fields
// keep their values.
int ParseRecordTime(std::string_view text, RecordTimeHeader& header);

}  // namespace zentrova
