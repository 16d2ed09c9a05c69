#include "tools/seg2_tool/record_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "platform/json_text.h"

namespace zentrova {
namespace {

std::string Samples(const std::vector<float>& v, size_t from, size_t to) {
  std::string out = "[";
  for (size_t j = from; j < to; ++j) out += (j > from ? ", " : "") + JsonNumber(v[j]);
  return out + "]";
}

}  // namespace

std::string RecordJson(const SeismicRecord& r, int result, int status) {
  const RecordTimeHeader& t = r.time;
  std::ostringstream o;
  o << "{\"result\": " << result << ", \"status\": " << status << ", \"traces\": " << r.nTraces << ",\n";
  o << " \"time\": {\"valid\": " << t.bTimeValid << ", \"gps_status\": " << t.nGpsStatus
    << ", \"acquisition\": " << JsonText(t.strAcquisition) << ", \"acquisition_ms\": " << t.nAcquisitionMs
    << ", \"first_sample\": " << JsonText(t.strFirstSample) << ", \"first_sample_ms\": " << t.nFirstSampleMs
    << ", \"latitude\": " << JsonNumber(t.dLatitude) << ", \"longitude\": " << JsonNumber(t.dLongitude) << "},\n";
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
    o << (i ? ",\n  " : "\n  ") << "{\"samples\": " << h.nSamples << ", \"interval_us\": " << JsonNumber(h.fSampleInterval)
      << ", \"receiver_loc\": " << h.nReceiverLoc << ", \"source_loc\": " << h.nSourceLoc
      << ", \"delay_us\": " << JsonNumber(h.fDelay) << ", \"component\": " << h.nComponent
      << ", \"fixed_gain\": " << h.nFixedGain << ", \"first\": " << Samples(d, 0, head)
      << ", \"last\": " << Samples(d, d.size() - head, d.size()) << ", \"abs_sum\": " << JsonNumber(sum)
      << ", \"max_abs\": " << JsonNumber(peak) << "}";
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
    o << "  samples " << r.pHeader[0].nSamples << " at " << JsonNumber(r.pHeader[0].fSampleInterval)
      << " us, longest trace " << JsonNumber(r.fMaxLength) << " ms\n";
  }
  const int source = std::clamp(t.nGpsStatus, 0, 3);
  o << "  time " << (t.bTimeValid ? t.strAcquisition : std::string("not valid")) << " (" << kTimeSource[source]
    << ", status " << t.nGpsStatus << "), first sample " << t.strFirstSample << "\n";
  o << "  position " << JsonNumber(t.dLatitude) << " " << JsonNumber(t.dLongitude) << "\n";
  o << "  receivers " << JsonNumber(r.fMinReceiver) << " to " << JsonNumber(r.fMaxReceiver) << ", largest amplitude "
    << JsonNumber(r.fMaxAmplitude) << "\n";
  o << "  trace receiver source gain component delay_us interval_us samples\n";
  for (int i = 0; i < r.nTraces; ++i) {
    o << "  ";
    r.pHeader[i].Dump(&o);
  }
  return o.str();
}

}  // namespace zentrova
