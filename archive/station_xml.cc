#include "archive/station_xml.h"

#include <pugixml.hpp>

#include <cmath>
#include <sstream>

#include "archive/sds_path.h"
#include "platform/printf.h"

namespace zentrova {
namespace {

// Azimuth and dip of a sensor pointing this way (SEED: dip -90 is up).
std::pair<int, int> AzimuthDip(char orientation) {
  switch (orientation) {
    case 'N': return {0, 0};
    case 'E': return {90, 0};
    default: return {0, -90};
  }
}

std::string Number(double v) { return Printf("%.6f", v); }

void Text(pugi::xml_node parent, const char* name, const std::string& value) {
  parent.append_child(name).text().set(value.c_str());
}

std::optional<int64_t> ParseIso(const std::string& s) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0, us = 0;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%6dZ", &y, &mo, &d, &h, &mi, &sec, &us) != 7) return std::nullopt;
  char name[32];
  std::snprintf(name, sizeof name, "X.X.X.X.D.%04d.001", y);
  auto jan1 = DayOfSdsName(name);
  if (!jan1 || mo < 1 || mo > 12 || d < 1 || d > 31) return std::nullopt;
  static const int kBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  const int doy = kBefore[mo - 1] + d - 1 + (leap && mo > 2 ? 1 : 0);
  return jan1->startUs + (int64_t{doy} * 86400 + h * 3600 + mi * 60 + sec) * 1000000 + us;
}

}  // namespace

bool ChannelEntry::SameStream(const ChannelEntry& o) const {
  return location == o.location && channel == o.channel && std::fabs(sampleRateHz - o.sampleRateHz) < 1e-9 * sampleRateHz;
}

std::string IsoTime(int64_t us) {
  const UtcDay day = UtcDayOf(us);
  const int64_t inDay = us - day.startUs;
  static const int kBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
  const bool leap = (day.year % 4 == 0 && day.year % 100 != 0) || day.year % 400 == 0;
  int month = 1;
  auto before = [&](int m) { return kBefore[m - 1] + (leap && m > 2 ? 1 : 0); };
  while (month < 12 && day.dayOfYear > before(month + 1)) ++month;
  const int dom = day.dayOfYear - before(month);
  const int64_t s = inDay / 1000000;
  return Printf("%04d-%02d-%02dT%02d:%02d:%02d.%06dZ", day.year, month, dom, static_cast<int>(s / 3600),
                static_cast<int>(s / 60 % 60), static_cast<int>(s % 60), static_cast<int>(inDay % 1000000));
}

std::string StationXmlText(const StationDocument& d, int64_t createdUs) {
  pugi::xml_document doc;
  auto decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "UTF-8";
  auto root = doc.append_child("FDSNStationXML");
  root.append_attribute("xmlns") = "http://www.fdsn.org/xml/station/1";
  root.append_attribute("schemaVersion") = "1.2";
  Text(root, "Source", "Zentrova station " + d.station);
  Text(root, "Module", "Zentrova");
  Text(root, "Created", IsoTime(createdUs));
  int64_t first = createdUs;
  for (const ChannelEntry& c : d.channels) first = std::min(first, c.startUs);
  auto network = root.append_child("Network");
  network.append_attribute("code") = d.network.c_str();
  network.append_attribute("startDate") = IsoTime(first).c_str();
  Text(network, "Description", d.network == "XX" ? "Temporary or unregistered network" : "Network " + d.network);
  auto station = network.append_child("Station");
  station.append_attribute("code") = d.station.c_str();
  station.append_attribute("startDate") = IsoTime(first).c_str();
  if (!d.place.Known()) {
    Text(station.append_child("Comment"), "Value",
         "The position of the station is not known: latitude, longitude and elevation are 0 until "
         "dStationLatitude, dStationLongitude and dStationElevation are set in Zentrova.ini");
  }
  Text(station, "Latitude", Number(d.place.latitude));
  Text(station, "Longitude", Number(d.place.longitude));
  Text(station, "Elevation", Number(d.place.elevation));
  Text(station.append_child("Site"), "Name", d.siteName.empty() ? d.station : d.siteName);
  for (const ChannelEntry& c : d.channels) {
    auto ch = station.append_child("Channel");
    ch.append_attribute("code") = c.channel.c_str();
    ch.append_attribute("locationCode") = c.location.c_str();
    ch.append_attribute("startDate") = IsoTime(c.startUs).c_str();
    if (!c.description.empty()) Text(ch, "Description", c.description);
    Text(ch, "Latitude", Number(d.place.latitude));
    Text(ch, "Longitude", Number(d.place.longitude));
    Text(ch, "Elevation", Number(d.place.elevation));
    Text(ch, "Depth", Number(0));
    const auto [azimuth, dip] = AzimuthDip(c.channel.empty() ? 'Z' : c.channel.back());
    Text(ch, "Azimuth", Number(azimuth));
    Text(ch, "Dip", Number(dip));
    Text(ch, "Type", "CONTINUOUS");
    Text(ch, "Type", "GEOPHYSICAL");
    Text(ch, "SampleRate", Printf("%.9g", c.sampleRateHz));
  }
  std::ostringstream out;
  doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}

std::vector<ChannelEntry> ChannelsOfStationXml(const std::string& text) {
  std::vector<ChannelEntry> channels;
  pugi::xml_document doc;
  if (!doc.load_buffer(text.data(), text.size())) return channels;
  for (auto ch : doc.select_nodes("/FDSNStationXML/Network/Station/Channel")) {
    const pugi::xml_node n = ch.node();
    ChannelEntry c;
    c.channel = n.attribute("code").as_string();
    c.location = n.attribute("locationCode").as_string();
    const auto start = ParseIso(n.attribute("startDate").as_string());
    c.sampleRateHz = n.child("SampleRate").text().as_double();
    c.description = n.child("Description").text().as_string();
    if (c.channel.empty() || !start || !(c.sampleRateHz > 0)) continue;
    c.startUs = *start;
    channels.push_back(std::move(c));
  }
  return channels;
}

bool NoteChannel(std::vector<ChannelEntry>& channels, const ChannelEntry& seen) {
  for (ChannelEntry& c : channels) {
    if (!c.SameStream(seen)) continue;
    if (seen.startUs >= c.startUs) return false;
    c.startUs = seen.startUs;
    return true;
  }
  channels.push_back(seen);
  return true;
}

}  // namespace zentrova
