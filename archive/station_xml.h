#pragma once
// The StationXML document (FDSN StationXML 1.2) of an archive: the
// network, the station and every channel the archive has seen.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace zentrova {

struct StationPlace {
  double latitude = 0;   // degrees, north positive
  double longitude = 0;  // degrees, east positive
  double elevation = 0;  // metres
  bool Known() const { return latitude != 0 || longitude != 0 || elevation != 0; }
};

struct ChannelEntry {
  std::string location;
  std::string channel;
  double sampleRateHz = 0;
  int64_t startUs = 0;       // first sample archived
  std::string description;   // where the receiver stands along the line

  bool SameStream(const ChannelEntry& o) const;
};

struct StationDocument {
  std::string network;
  std::string station;
  std::string siteName;
  StationPlace place;
  std::vector<ChannelEntry> channels;
};

// "2024-03-01T23:59:58.500000Z"
std::string IsoTime(int64_t us);

std::string StationXmlText(const StationDocument& doc, int64_t createdUs);
// The channels of a document written by StationXmlText; none for a text
// that is no such document.
std::vector<ChannelEntry> ChannelsOfStationXml(const std::string& text);

// Adds the channel, or moves its start back; true when the list changed.
bool NoteChannel(std::vector<ChannelEntry>& channels, const ChannelEntry& seen);

}  // namespace zentrova
