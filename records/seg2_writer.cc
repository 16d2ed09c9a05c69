#include "records/seg2_writer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/local_time.h"
#include "platform/printf.h"
#include "records/record_limits.h"

namespace zentrova {
namespace {

constexpr size_t kDescriptorSize = 32;
constexpr size_t kTraceBlockSize = 480;
constexpr size_t kPointerBlock = 4 * std::max(kMaxTraces, 1056);

void PutU16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}
void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A string entry: its length (counting itself, the text and the NULs), the
// text and one NUL; a NOTE entry ends with two NULs.
std::string Entry(const std::string& text, int nuls = 1) {
  std::string e;
  PutU16(e, static_cast<uint16_t>(2 + text.size() + static_cast<size_t>(nuls)));
  e += text;
  e.append(static_cast<size_t>(nuls), '\0');
  return e;
}

std::string FileStrings(const Seg2WriteHeader& h) {
  char date[32] = "", clock[32] = "";
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  if (auto t = SecondsToLocal(h.tAcquisition); t && t->month >= 1 && t->month <= 12) {
    std::snprintf(date, sizeof date, "%02d/%s/%04d", t->day, kMonths[t->month - 1], t->year);
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", t->hour, t->minute, t->second);
  }
  std::string s;
  s += Entry(Printf("%s %s", "ACQUISITION_DATE", date));
  s += Entry(Printf("%s %s.%03d", "ACQUISITION_TIME", clock, h.nAcquisitionMs));
  s += Entry(Printf("%s %s", "COMPANY", "Halvorne"));
  s += Entry(Printf("%s %s %s", "INSTRUMENT", "HALVORNE TARNLINKS CONTROLLER", "0000"));
  s += Entry(Printf("%s %s", "JOB_ID", "0000"));
  s += Entry(Printf("%s %s", "OBSERVER", "Observer"));
  s += Entry(Printf("%s %s", "TRACE_SORT", "AS_ACQUIRED"));
  s += Entry(Printf("%s %s", "UNITS", h.bMeters ? "METERS" : "FEET"));
  std::string note = Printf("NOTE \n %s %.2f \n %s %.2f \n %s %.2f \n %s %d \n %s %d %d \n", "BASE_INTERVAL",
                            static_cast<double>(h.fBaseInterval), "SHOT_INCREMENT",
                            static_cast<double>(h.fShotIncrement), "PHONE_INCREMENT",
                            static_cast<double>(h.fPhoneIncrement), "AGC_WINDOW", h.nAgcWindow, "DISPLAY_FILTERS", 0, 0);
  note += "\n" + h.strFileNote;
  s += Entry(note, 2);
  s.append(2, '\0');
  s.append((4 - s.size() % 4) % 4, '\0');
  return s;
}

// "%E" with the three exponent digits the instruments write: 1.000000E+000.
std::string ThreeDigitExponent(float v) {
  std::string text = Printf("%E", static_cast<double>(v));
  const size_t e = text.find('E');
  if (e != std::string::npos && text.size() - e == 4) text.insert(e + 2, "0");
  return text;
}

std::string DelayText(float delayUs) {
  const long d = static_cast<long>(std::clamp(static_cast<double>(delayUs) / 1000.0, -2.0e9, 2.0e9));
  if (d >= 0) return Printf("%ld.%03ld", d / 1000, d % 1000);
  return Printf("-%ld.%03ld", -d / 1000, -d % 1000);
}

int64_t IntervalNs(float intervalUs) {
  return static_cast<int64_t>(std::clamp(static_cast<double>(intervalUs) * 1000.0, -9.0e18, 9.0e18));
}

std::string TraceStrings(const Seg2WriteHeader& h, const CHeader& t, size_t i) {
  const int64_t ns = IntervalNs(t.fSampleInterval);
  std::string s;
  s += Entry(Printf("%s %.2f %d", "ALIAS_FILTER", static_cast<double>(AliasFilterFrequency(ns)), 0));
  s += Entry(Printf("%s %s", "AMPLITUDE_RECOVERY", "NONE"));
  s += Entry(Printf("%s %d", "CHANNEL_NUMBER", h.nChannel[i]));
  s += Entry(Printf("%s %s", "DELAY", DelayText(t.fDelay).c_str()));
  s += Entry(Printf("%s %s", "DESCALING_FACTOR", ThreeDigitExponent(h.fDescaling[i]).c_str()));
  s += Entry(Printf("%s %d %d", "DIGITAL_HIGH_CUT_FILTER", 0, 0));
  s += Entry(Printf("%s %d %d", "DIGITAL_LOW_CUT_FILTER", 0, 0));
  s += Entry(Printf("%s %2d DB", "FIXED_GAIN", h.nFixedGain[i]));
  s += Entry(Printf("%s %s", "LINE_ID", h.strLineId.c_str()));
  s += Entry("LOW_CUT_FILTER 0 0");
  s += Entry("NOTCH_FREQUENCY 0");
  s += Entry(Printf("%s %s", "RAW_RECORD", "test"));
  s += Entry(Printf("%s %.2f", "RECEIVER_LOCATION", static_cast<double>(h.fReceiver[i])));
  s += Entry(Printf("%s %s", "SAMPLE_INTERVAL", FormatSeconds(ns).c_str()));
  s += Entry(Printf("%s %d", "SHOT_SEQUENCE_NUMBER", 1));
  s += Entry(Printf("%s %s", "SKEW", FormatSeconds(static_cast<int64_t>(h.fSkew[i])).c_str()));
  s += Entry(Printf("%s %.2f", "SOURCE_LOCATION", static_cast<double>(h.fSource[i])));
  s += Entry(Printf("%s %d", "STACK", h.nStack[i]));
  s += Entry(Printf("TRACE_TYPE %d", t.nComponent));
  s += Entry(Printf("NOTE \n %s %d  \n", "DISPLAY_SCALE", h.nDisplayScale[i]) + "\n" + h.strNote[i], 2);
  return s;
}

// The 480-byte trace descriptor. Strings that do not fit are left out
// whole, so the block always ends with a zero length word.
std::string TraceDescriptor(const Seg2WriteHeader& h, const CHeader& t, size_t i) {
  std::string d;
  PutU16(d, 0x4422);
  PutU16(d, static_cast<uint16_t>(kTraceBlockSize));
  PutU32(d, static_cast<uint32_t>(4 * t.nSamples));
  PutU32(d, static_cast<uint32_t>(t.nSamples));
  d.push_back(static_cast<char>(h.nFormatCode));
  d.append(19, '\0');
  const std::string strings = TraceStrings(h, t, i);
  size_t fit = 0;
  while (fit < strings.size()) {
    const size_t len = static_cast<unsigned char>(strings[fit]) | (static_cast<unsigned char>(strings[fit + 1]) << 8);
    if (d.size() + fit + len + 2 > kTraceBlockSize) break;
    fit += len;
  }
  d.append(strings, 0, fit);
  d.resize(kTraceBlockSize, '\0');
  return d;
}

void AppendSamples(std::string& out, const std::vector<float>& samples, size_t n) {
  const size_t at = out.size();
  out.resize(at + 4 * n);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(out.data() + at, samples.data(), 4 * n);
  } else {
    for (size_t j = 0; j < n; ++j) {
      const uint32_t v = std::bit_cast<uint32_t>(samples[j]);
      for (int b = 0; b < 4; ++b) out[at + 4 * j + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
    }
  }
}

std::string FileHead(const Seg2WriteHeader& h, std::span<const CHeader> headers) {
  const std::string strings = FileStrings(h);
  std::string head;
  PutU16(head, 0x3A55);
  PutU16(head, 1);
  PutU16(head, static_cast<uint16_t>(kPointerBlock));
  PutU16(head, static_cast<uint16_t>(headers.size()));
  head.push_back(1);
  head.append(2, '\0');
  head.push_back(1);
  head.push_back(0x0A);
  head.append(kDescriptorSize - head.size(), '\0');
  uint64_t pointer = kDescriptorSize + kPointerBlock + strings.size();
  for (const CHeader& t : headers) {
    PutU32(head, static_cast<uint32_t>(pointer));
    pointer += kTraceBlockSize + 4 * static_cast<uint64_t>(t.nSamples);
  }
  head.resize(kDescriptorSize + kPointerBlock, '\0');
  head += strings;
  return head;
}

Status CheckTraces(int nTraces, const std::vector<std::vector<float>>& data, std::span<const CHeader> headers) {
  if (nTraces < 0 || nTraces > kMaxTraces || static_cast<size_t>(nTraces) > data.size() ||
      static_cast<size_t>(nTraces) > headers.size()) {
    return Status::Invalid("cannot write " + std::to_string(nTraces) + " traces");
  }
  for (int i = 0; i < nTraces; ++i) {
    if (headers[i].nSamples < 0 || data[i].size() < static_cast<size_t>(headers[i].nSamples)) {
      return Status::Invalid("trace " + std::to_string(i) + " holds fewer samples than its header says");
    }
  }
  return Status::Ok();
}

}  // namespace

std::string CFilt::Text() const {
  char buf[64];
  switch (nType) {
    case 0: return "OUT";
    case 1: std::snprintf(buf, sizeof buf, "LOW_CUT_FILTER %d %d", nFrequency, nSlope); return buf;
    case 2: std::snprintf(buf, sizeof buf, "HIGH_CUT_FILTER %d %d", nFrequency, nSlope); return buf;
    case 3: std::snprintf(buf, sizeof buf, "NOTCH_FREQUENCY %d", nFrequency); return buf;
    default: return "INVALID FILTER";
  }
}

std::string FormatSeconds(int64_t ns) {
  std::string text;
  std::string digits;
  if (ns > 312500) {
    text = "0.000000";
    digits = std::to_string((ns + 500) / 1000);
  } else {
    text = ns < 0 ? "-0.000000000" : "0.000000000";
    digits = std::to_string(ns < 0 ? -ns : ns);
  }
  if (digits.size() > text.size()) digits.resize(text.size());
  text.replace(text.size() - digits.size(), digits.size(), digits);
  while (text.size() > 1 && text.back() == '0') text.pop_back();
  if (text.back() == '.') text.push_back('0');
  return text;
}

float AliasFilterFrequency(int64_t ns) {
  switch (ns) {
    case 20833: return 20000.00f;
    case 31250: return 13333.33f;
    case 62500: return 6666.66f;
    case 125000: return 3333.33f;
    case 250000: return 1666.66f;
    case 500000: return 833.33f;
    case 1000000: return 416.66f;
    case 2000000: return 208.33f;
    case 4000000: return 104.16f;
    case 8000000: return 52.08f;
    case 16000000: return 26.04f;
    default: return 0.0f;
  }
}

Seg2WriteHeader PrepareSeg2WriteHeader(std::span<const CHeader> headers, const RecordTimeHeader& time) {
  Seg2WriteHeader h;
  const size_t n = headers.size();
  for (size_t i = 0; i < n; ++i) {
    h.nChannel.push_back(static_cast<int>(i) + 1);
    h.fDescaling.push_back(1.0f);
    h.nFixedGain.push_back(1);
    h.fReceiver.push_back(static_cast<float>(headers[i].nReceiverLoc) / 100.0f);
    h.fSkew.push_back(0.0f);
    h.fSource.push_back(static_cast<float>(headers[i].nSourceLoc) / 100.0f);
    h.nStack.push_back(1);
    h.nDisplayScale.push_back(1);
    h.strNote.emplace_back();
  }
  if (n >= 2) {
    h.fBaseInterval = static_cast<float>(static_cast<int64_t>(headers[1].nReceiverLoc) - headers[0].nReceiverLoc) / 100.0f;
  }
  h.tAcquisition = time.tAcquisition;
  h.nAcquisitionMs = time.nAcquisitionMs;
  return h;
}

Seg2Layout::Seg2Layout(std::span<const CHeader> headers, const RecordTimeHeader& time, const std::string& fileNote)
    : headers_(headers.begin(), headers.end()) {
  header_ = PrepareSeg2WriteHeader(headers_, time);
  header_.strFileNote = fileNote;
  head_ = FileHead(header_, headers_);
  uint64_t at = head_.size();
  for (const CHeader& t : headers_) {
    offsets_.push_back(at + kTraceBlockSize);
    at += kTraceBlockSize + 4 * static_cast<uint64_t>(std::max(t.nSamples, 0));
  }
  size_ = at;
}

std::string Seg2Layout::TraceDescriptor(size_t i) const {
  return zentrova::TraceDescriptor(header_, headers_[i], i);
}

Status WriteSeg2File(FileSystem& fs, int nTraces, const std::string& path, const std::vector<std::vector<float>>& data,
                     std::span<const CHeader> traceHeaders, const RecordTimeHeader& timeHeader,
                     const std::string& fileNote) {
  Status st = CheckTraces(nTraces, data, traceHeaders);
  if (!st.ok()) return st;
  auto headers = traceHeaders.first(static_cast<size_t>(nTraces));
  const Seg2Layout layout(headers, timeHeader, fileNote);
  auto file = fs.OpenForWrite(path);
  if (!file.ok()) return file.status();
  st = (*file)->Append(layout.Head());
  std::string block;
  for (size_t i = 0; st.ok() && i < headers.size(); ++i) {
    block = layout.TraceDescriptor(i);
    AppendSamples(block, data[i], static_cast<size_t>(headers[i].nSamples));
    st = (*file)->Append(block);
  }
  Status closed = (*file)->Close();
  return st.ok() ? closed : st;
}

Status WriteSeg2File(FileSystem& fs, int nTraces, const std::string& path, const std::vector<std::vector<float>>& data,
                     std::span<const CHeaderXY> traceHeaders, const RecordTimeHeader& timeHeader) {
  std::vector<CHeader> base(traceHeaders.begin(), traceHeaders.end());
  return WriteSeg2File(fs, nTraces, path, data, std::span<const CHeader>(base), timeHeader);
}

}  // namespace zentrova
