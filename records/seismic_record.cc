#include "records/seismic_record.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/local_time.h"

namespace zentrova {
namespace {

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
uint32_t GetU32(std::string_view in, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(static_cast<unsigned char>(in[at + i])) << (8 * i);
  return v;
}
void PutInt(std::string& out, int32_t v) { PutU32(out, static_cast<uint32_t>(v)); }
void PutFloat(std::string& out, float v) { PutU32(out, std::bit_cast<uint32_t>(v)); }
int32_t GetInt(std::string_view in, size_t at) { return static_cast<int32_t>(GetU32(in, at)); }
float GetFloat(std::string_view in, size_t at) { return std::bit_cast<float>(GetU32(in, at)); }

int32_t ClampToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

constexpr size_t kBaseBytes = 32;
constexpr size_t kXYBytes = 48;

}  // namespace

int CHeader::Write(std::string& out) const {
  PutInt(out, nTrace);
  PutInt(out, nReceiverLoc);
  PutInt(out, nSourceLoc);
  PutInt(out, nFixedGain);
  PutInt(out, nComponent);
  PutFloat(out, fDelay);
  PutFloat(out, fSampleInterval);
  PutInt(out, nSamples);
  return 1;
}

int CHeader::Read(std::string_view in) {
  if (in.size() < kBaseBytes) return 0;
  nTrace = GetInt(in, 0);
  nReceiverLoc = GetInt(in, 4);
  nSourceLoc = GetInt(in, 8);
  nFixedGain = GetInt(in, 12);
  nComponent = GetInt(in, 16);
  fDelay = GetFloat(in, 20);
  fSampleInterval = GetFloat(in, 24);
  nSamples = GetInt(in, 28);
  return static_cast<int>(kBaseBytes);
}

int CHeader::Dump(std::ostream* stream) const {
  if (stream == nullptr) return 0;
  char line[256];
  std::snprintf(line, sizeof line, "%d %d %d %d %d %f %f %d \n", nTrace, nReceiverLoc, nSourceLoc, nFixedGain,
                nComponent, static_cast<double>(fDelay), static_cast<double>(fSampleInterval), nSamples);
  *stream << line;
  return 1;
}

int CHeaderXY::Write(std::string& out) const {
  CHeader::Write(out);
  PutFloat(out, fLatitude);
  PutFloat(out, fLongitude);
  PutInt(out, nSpare1);
  PutInt(out, nSpare2);
  return 1;
}

int CHeaderXY::Read(std::string_view in) {
  if (in.size() < kXYBytes) return 0;
  CHeader::Read(in);
  fLatitude = GetFloat(in, 32);
  fLongitude = GetFloat(in, 36);
  nSpare1 = GetInt(in, 40);
  nSpare2 = GetInt(in, 44);
  return static_cast<int>(kXYBytes);
}

RecordTimeHeader::RecordTimeHeader() {
  tAcquisition = NowSeconds();
  tFirstSample = tAcquisition;
}

std::string FormatFirstSampleText(int64_t seconds, int ms) {
  int hour = -1, minute = -1, month = 0, day = 0, year = 0;
  double sec = -1.0;
  if (auto t = SecondsToLocal(seconds)) {
    hour = t->hour;
    minute = t->minute;
    sec = t->second + ms / 1000.0;
    month = t->month;
    day = t->day;
    year = t->year;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%02d:%02d:%06.3f %02d/%02d/%d", hour, minute, sec, month, day, year);
  return text;
}

void RecordTimeHeader::SetFirstSampleTime(float delaySeconds) {
  // The split is done on whole microseconds: a delay written in decimal
  // milliseconds (-0.010) then gives exactly its milliseconds, where the
  // float product would land a hair below them.
  double d = static_cast<double>(delaySeconds);
  if (!std::isfinite(d)) d = 0.0;
  d = std::clamp(d, -1.0e9, 1.0e9);
  const int64_t us = std::llround(d * 1.0e6);
  int64_t whole = us / 1000000;
  const int64_t rest = us % 1000000;
  int ms = 0;
  if (rest < 0) {
    ms = 1000 - static_cast<int>(-rest / 1000);
    whole -= 1;
    if (ms == 1000) {  // less than a millisecond before the whole second
      ms = 0;
      whole += 1;
    }
  } else {
    ms = static_cast<int>(rest / 1000);
  }
  tFirstSample = tAcquisition + whole;
  nFirstSampleMs = ms;
  strFirstSample = FormatFirstSampleText(tFirstSample, nFirstSampleMs);
}

int32_t EncodeLocation(float location) {
  const double l = static_cast<double>(location) * 100.0;
  return ClampToInt(l >= 0.0 ? l + 0.1 : l);
}

int32_t EncodeAssignedLocation(double location) { return ClampToInt(location * 100.0 + 0.01); }

SeismicRecord::SeismicRecord(std::string workFolder) : strWorkFolder(std::move(workFolder)) {
  if (strWorkFolder.size() > 2048) strWorkFolder.resize(2048);
}

void SeismicRecord::AllocateAnalysisBuffers() {
  constexpr int kRows = 256;
  constexpr int kCols = 4096;
  pDispHeader.assign(kRows, CHeader());
  ppDispImage.assign(kRows, std::vector<float>(kCols, 0.0f));
  ppDispImag.assign(kRows, std::vector<float>(kCols, 0.0f));
  fDispRowMax.assign(kRows, 0.0f);
  fPickVel.assign(kRows, 0.0f);
  fPickFreq.assign(kRows, 0.0f);
  bPickResolved.assign(kRows, 0);
  bAnalysisBuffers = 1;
}

void SeismicRecord::TakeTracesOf(SeismicRecord& other) {
  std::swap(pStageHeader, other.pStageHeader);
  std::swap(ppStageData, other.ppStageData);
  std::swap(nTraces, other.nTraces);
  std::swap(nTracesInFile, other.nTracesInFile);
  std::swap(pHeader, other.pHeader);
  std::swap(pHeaderXY, other.pHeaderXY);
  std::swap(ppData, other.ppData);
  std::swap(bAllocated, other.bAllocated);
  std::swap(fMaxLength, other.fMaxLength);
  std::swap(fMinReceiver, other.fMinReceiver);
  std::swap(fMaxReceiver, other.fMaxReceiver);
  std::swap(time, other.time);
  std::swap(fMaxAmplitude, other.fMaxAmplitude);
}

void SeismicRecord::ReleaseTraces() {
  if (!bAllocated) return;
  constexpr size_t kSpareBytes = size_t{128} << 20;
  size_t kept = 0;
  for (const auto& b : spareBuffers_) kept += b.capacity() * sizeof(float);
  for (auto& buffer : ppData) {
    const size_t bytes = buffer.capacity() * sizeof(float);
    if (bytes == 0 || kept + bytes > kSpareBytes) continue;
    kept += bytes;
    spareBuffers_.push_back(std::move(buffer));
  }
  pHeader.clear();
  pHeaderXY.clear();
  ppData.clear();
  bAllocated = 0;
}

void SeismicRecord::AllocateTraces(int n) {
  const size_t count = static_cast<size_t>(std::max(n, 0));
  pHeader.assign(count, CHeader());
  pHeaderXY.assign(count, CHeaderXY());
  ppData.clear();
  ppData.resize(count);
  for (size_t i = 0; i < count && !spareBuffers_.empty(); ++i) {
    ppData[i] = std::move(spareBuffers_.back());
    spareBuffers_.pop_back();
  }
}

float PeakAmplitude(const float* samples, size_t n) {
  constexpr float kLargestFinite = std::numeric_limits<float>::max();
  // Sixteen running maxima side by side: four independent vector
  // accumulators, so the scan runs at the speed of memory. A sample that is
  // not finite is skipped (NaN and infinity both fail "<= FLT_MAX"): one bad
  // sample would otherwise flatten every trace scaled by the peak.
  constexpr size_t kLanes = 16;
  float lanes[kLanes] = {};
  size_t j = 0;
  for (; j + kLanes <= n; j += kLanes) {
#pragma omp simd
    for (size_t k = 0; k < kLanes; ++k) {
      const float a = std::fabs(samples[j + k]);
      lanes[k] = a > lanes[k] && a <= kLargestFinite ? a : lanes[k];
    }
  }
  float peak = 0.0f;
  for (; j < n; ++j) {
    const float a = std::fabs(samples[j]);
    peak = a > peak && a <= kLargestFinite ? a : peak;
  }
  for (float lane : lanes) peak = lane > peak ? lane : peak;
  return peak;
}

int SeismicRecord::ComputeSummary() {
  if (!bAllocated) return 0;
  const size_t n = std::min({static_cast<size_t>(std::max(nTraces, 0)), pHeader.size(), ppData.size()});
  for (size_t i = 0; i < n; ++i) {
    const size_t samples = std::min<size_t>(static_cast<size_t>(std::max(pHeader[i].nSamples, 0)), ppData[i].size());
    pHeader[i].fMaxAmplitude = PeakAmplitude(ppData[i].data(), samples);
  }
  return ComputeSummaryFromTracePeaks();
}

int SeismicRecord::ComputeSummaryFromTracePeaks() {
  if (!bAllocated) return 0;
  const int n = static_cast<int>(std::min({static_cast<size_t>(std::max(nTraces, 0)), pHeader.size(), ppData.size()}));
  fMaxLength = 0.0f;
  fMaxAmplitude = 0.0f;
  fMinReceiver = n > 0 ? static_cast<float>(pHeader[0].nReceiverLoc) / 100.0f : 0.0f;
  fMaxReceiver = n > 0 ? static_cast<float>(pHeader[n - 1].nReceiverLoc) / 100.0f : 0.0f;
  for (int i = 0; i < n; ++i) {
    const CHeader& h = pHeader[i];
    const float length = static_cast<float>(h.nSamples) * h.fSampleInterval / 1000.0f;
    fMaxLength = std::max(fMaxLength, length);
    const float receiver = static_cast<float>(h.nReceiverLoc) / 100.0f;
    fMinReceiver = std::min(fMinReceiver, receiver);
    fMaxReceiver = std::max(fMaxReceiver, receiver);
    fMaxAmplitude = std::max(fMaxAmplitude, h.fMaxAmplitude);
  }
  return 1;
}

}  // namespace zentrova
