#pragma once
// The station's figures in the text format of the Prometheus exposition
// (version 0.0.4), for node_exporter's textfile collector: metric names
// begin with "zentrova_", units in the name (seconds, volts, bytes,
// ratio), one "# HELP" and "# TYPE" for each, labels for the channel and
// the outbox kind.

#include <string>
#include <vector>

#include "quality/channel_hours.h"
#include "quality/station_sample.h"
#include "quality/station_status.h"

namespace zentrova {

inline constexpr const char* kPrometheusFileName = "zentrova.prom";

struct PrometheusFigures {
  StationStatus status;
  StationSample sample;              // the latest minute's
  std::vector<HourFigures> channels;  // the hour under way
  int64_t recordsTotal = 0;          // this run
  int64_t eventsTotal = 0;
  std::string site;
};

std::string PrometheusText(const PrometheusFigures& f);

// A label value as the format writes it: backslash, quote and line feed escaped.
std::string PrometheusLabel(const std::string& value);

}  // namespace zentrova
