#pragma once
// The names a miniSEED stream goes by: network, station, location and
// channel codes, made from the station's settings and the traces.

#include <string>

namespace zentrova {

// Up to `longest` characters A-Z and 0-9 of a text, letters made capitals;
// the rest is left out.
std::string CodeCharacters(const std::string& text, size_t longest);

// The network code in force for a stored one: its code characters, at most
// two; "XX" (temporary or unregistered) when none is left.
std::string NetworkCodeOf(const std::string& stored);
// The station code: from the stored code, else from the site name; at most
// five code characters; "ZENT" when neither gives any.
std::string StationCodeOf(const std::string& stored, const std::string& siteName);

// "00" to "99": the trace's position in its record. Traces beyond the
// hundredth have no location code and are not archived.
inline constexpr int kMostArchivedTraces = 100;
std::string LocationCode(int traceIndex);

// The SEED band code of a short-period sensor (a geophone) at this sample
// rate: G from 1000 Hz, D from 250, E from 80, S from 10, M from 1.5,
// L about 1, V about 0.1, U below.
char BandCode(double sampleRateHz);
// Band, instrument (P: geophone) and orientation.
std::string ChannelCode(double sampleRateHz, char orientation);

}  // namespace zentrova
