#include "tools/seg2_tool/record_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace zentrova {
namespace {

std::string Number(double v) {
  if (!std::isfinite(v)) return "null";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.9g", v);
  return buf;
}

std::string Text(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string Samples(const std::vector<float>& v, size_t from, size_t to) {
  std::string out = "[";
  for (size_t j = from; j < to; ++j) out += (j > from ? ", " : "") + Number(v[j]);
  return out + "]";
}

}  // namespace

std::string RecordJson(const SeismicRecord& r, int result, int status) {
  const RecordTimeHeader& t = r.time;
  std::ostringstream o;
  o << "{\"result\": " << result << ", \"status\": " << status << ", \"traces\": " << r.nTraces << ",\n";
  o << " \"time\": {\"valid\": " << t.bTimeValid << ", \"gps_status\": " << t.nGpsStatus
    << ", \"acquisition\": " << Text(t.strAcquisition) << ", \"acquisition_ms\": " << t.nAcquisitionMs
    << ", \"first_sample\": " << Text(t.strFirstSample) << ", \"first_sample_ms\": " << t.nFirstSampleMs
    << ", \"latitude\": " << Number(t.dLatitude) << ", \"longitude\": " << Number(t.dLongitude) << "},\n";
  o << " \"trace\": [";
  for (int i = 0; i < r.nTraces; ++i) {
    const CHeader& h = r.pHeader[i];
    const std::vector<float>& d = r.ppData[i];
    double sum = 0.0, peak = 0.0;
    for (float x : d) {
      sum += std::fabs(static_cast<double>(x));
      peak = std::max(peak, std::fabs(static_cast<double>(x)));
    }
    const size_t head = std::min<size_t>(5, d.size());
    o << (i ? ",\n  " : "\n  ") << "{\"samples\": " << h.nSamples << ", \"interval_us\": " << Number(h.fSampleInterval)
      << ", \"receiver_loc\": " << h.nReceiverLoc << ", \"source_loc\": " << h.nSourceLoc
      << ", \"delay_us\": " << Number(h.fDelay) << ", \"component\": " << h.nComponent
      << ", \"fixed_gain\": " << h.nFixedGain << ", \"first\": " << Samples(d, 0, head)
      << ", \"last\": " << Samples(d, d.size() - head, d.size()) << ", \"abs_sum\": " << Number(sum)
      << ", \"max_abs\": " << Number(peak) << "}";
  }
  o << "]}\n";
  return o.str();
}

std::string RecordSummary(const SeismicRecord& r, const std::string& path, int result, int status) {
  const RecordTimeHeader& t = r.time;
  static const char* kTimeSource[] = {"GPS ($GPZDA)", "GPS sentence empty, acquisition keywords",
                                      "acquisition keywords", "no time"};
  std::ostringstream o;
  o << path << "\n";
  o << "  result " << result << ", status " << status << ", traces " << r.nTraces << " of " << r.nTracesInFile << "\n";
  if (r.nTraces > 0) {
    o << "  samples " << r.pHeader[0].nSamples << " at " << Number(r.pHeader[0].fSampleInterval)
      << " us, longest trace " << Number(r.fMaxLength) << " ms\n";
  }
  const int source = std::clamp(t.nGpsStatus, 0, 3);
  o << "  time " << (t.bTimeValid ? t.strAcquisition : std::string("not valid")) << " (" << kTimeSource[source]
    << ", status " << t.nGpsStatus << "), first sample " << t.strFirstSample << "\n";
  o << "  position " << Number(t.dLatitude) << " " << Number(t.dLongitude) << "\n";
  o << "  receivers " << Number(r.fMinReceiver) << " to " << Number(r.fMaxReceiver) << ", largest amplitude "
    << Number(r.fMaxAmplitude) << "\n";
  o << "  trace receiver source gain component delay_us interval_us samples\n";
  for (int i = 0; i < r.nTraces; ++i) {
    o << "  ";
    r.pHeader[i].Dump(&o);
  }
  return o.str();
}

}  // namespace zentrova
