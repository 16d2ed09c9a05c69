#include "records/mtneo_import.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string_view>

namespace zentrova {
namespace {

constexpr size_t kHeaderBytes = 512;
constexpr int64_t kMaxFrames = 100000;

// Decimal conversion of header bytes [from, to]: leading blanks, a sign and
// digits, like atoi; garbage gives 0, and values are kept within int.
int Field(std::string_view h, size_t from, size_t to) {
  size_t i = from;
  while (i <= to && h[i] == ' ') ++i;
  bool negative = false;
  if (i <= to && (h[i] == '+' || h[i] == '-')) negative = h[i++] == '-';
  int64_t v = 0;
  for (; i <= to && std::isdigit(static_cast<unsigned char>(h[i])); ++i) {
    v = std::min<int64_t>(v * 10 + (h[i] - '0'), std::numeric_limits<int>::max());
  }
  return static_cast<int>(negative ? -v : v);
}

// A decimal text as float; values beyond the float range are clamped.
float Decimal(std::string_view text) {
  const double v = std::atof(std::string(text).c_str());
  return static_cast<float>(std::clamp(v, -1.0e30, 1.0e30));
}

// Hemisphere letter, degrees, then minutes with a fraction.
float Angle(std::string_view h, size_t at, size_t degreeDigits, size_t minuteChars, char negative) {
  const int degrees = Field(h, at + 1, at + degreeDigits);
  const double value = degrees + Decimal(h.substr(at + 1 + degreeDigits, minuteChars)) / 60.0;
  return static_cast<float>(h[at] == negative ? -value : value);
}

int32_t Count(const unsigned char* p) {
  return static_cast<int32_t>(uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
                              (uint32_t(p[3]) << 24));
}

void AppendMonitorLine(FileSystem& fs, float seconds, const std::string& path) {
  char text[64];
  std::snprintf(text, sizeof text, "%f ", static_cast<double>(seconds));
  AppendToFile(fs, JoinPath(fs, fs.CurrentFolder(), "monitor.txt"), text + path + "\r\n");
}

void FillStagingHeaders(SeismicRecord& record, const MtNeoHeader& h, int64_t framesRead, const OrbelChannels& orbel) {
  for (int k = 0; k < 3; ++k) {
    CHeader& s = record.pStageHeader[k];
    s.nTrace = k + 1;
    s.nSourceLoc = 0;
    s.nFixedGain = 10;
    s.fDelay = 0.0f;
    s.fSampleInterval = h.IntervalMicroseconds();
    s.nSamples = static_cast<int32_t>(std::min(framesRead, h.nFrames));
    s.nManualChannel = h.nInstrument;
    if (h.nComponents == 1) {
      s.nComponent = 3;
      s.nReceiverLoc = 0;
    } else if (h.bOrbel) {
      s.nComponent = orbel.component[k];
      s.nReceiverLoc = static_cast<int32_t>(std::clamp<int64_t>(int64_t{orbel.distance[k]} * 100, INT32_MIN, INT32_MAX));
    } else {
      s.nComponent = k + 1;
      s.nReceiverLoc = k * 100;
    }
    s.fReceiverLoc100 = static_cast<float>(s.nReceiverLoc);
  }
}

void ApplyManualGains(FileSystem& fs, Prompt& prompt, SeismicRecord& record, int traces) {
  int changed = 0;
  for (const ManualGain& g : ReadManualGains(fs, record.strWorkFolder)) {
    for (int k = 0; k < traces; ++k) {
      if (g.nInstrument != record.pStageHeader[k].nManualChannel) continue;
      for (float& v : record.ppStageData[k]) v *= g.fFactor;
      ++changed;
    }
  }
  if (changed > 0) {
    char text[96];
    std::snprintf(text, sizeof text, "Gain of %d traces were manualy changed.", changed);
    prompt.Show(text);
  }
}

}  // namespace

float MtNeoHeader::IntervalMicroseconds() const {
  if (nIntervalCode == 101) return 250.0f;
  if (nIntervalCode == 102) return 500.0f;
  return static_cast<float>(nIntervalCode) * 1000.0f;
}

float MtNeoHeader::ScalePerCount() const {
  if (bOrbel) return 1.164153e-9f;
  const double full = 5.0 / 4294967296.0;
  return static_cast<float>(nScaleFlag != 0 ? full : full / nCalibration);
}

StatusOr<MtNeoHeader> ReadMtNeoHeader(FileSystem& fs, const std::string& path) {
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return file.status();
  std::string raw(kHeaderBytes, '\0');
  if (!ReadExactly(**file, 0, raw.size(), raw.data()).ok()) {
    return Status::Invalid(path + ": shorter than the 512-byte header");
  }
  std::string_view h(raw);
  MtNeoHeader m;
  if (h.substr(0, 6) == "MT_NEO") {
    m.bOrbel = false;
  } else if (h.substr(0, 6) == "Orbel ") {
    m.bOrbel = true;
  } else {
    return Status::Invalid(path + ": not a DaZEZIROZev or Orbel file");
  }
  m.nInstrument = Field(h, 38, 43);
  m.nComponents = Field(h, 46, 46) == 1 ? 1 : 3;
  m.nScaleFlag = Field(h, 49, 49);
  const int bits = Field(h, 52, 53);
  m.nBits = (bits == 8 || bits == 16 || bits == 24) ? bits : 32;
  m.nFiveDigits = Field(h, 56, 60);
  if (m.nFiveDigits == 0) m.nFiveDigits = 5000;
  m.nIntervalCode = Field(h, 63, 65);
  const size_t gainAt[3] = {68, 73, 78};
  for (int k = 0; k < 3; ++k) {
    m.nGain[k] = Field(h, gainAt[k], gainAt[k] + 2);
    if (m.nGain[k] == 0) m.nGain[k] = 1;
  }
  m.firstSample = {Field(h, 88, 91), Field(h, 93, 94), Field(h, 96, 97),
                   Field(h, 100, 101), Field(h, 103, 104), Field(h, 106, 107)};
  m.fLatitude = Angle(h, 246, 2, 8, 'S');
  m.fLongitude = Angle(h, 259, 3, 8, 'W');
  m.fAltitude = Decimal(h.substr(273, 8));
  m.nCalibration = Field(h, 317, 319);
  if (m.nCalibration == 0) m.nCalibration = 8;

  if (m.bOrbel) {
    m.nFrameBytes = m.nComponents == 1 ? 4 : 16;
  } else {
    m.nFrameBytes = m.nComponents == 1 ? 8 : 16;
  }
  m.nFileFrames = static_cast<int64_t>(((*file)->Size() - kHeaderBytes) / static_cast<uint64_t>(m.nFrameBytes));
  m.nFrames = m.nFileFrames;
  if (m.IntervalMicroseconds() == 10000.0f && m.nFrames > 6000 && m.nFrames < 7000) m.nFrames = 6000;
  return m;
}

std::vector<ManualGain> ReadManualGains(FileSystem& fs, const std::string& folder) {
  std::vector<ManualGain> gains;
  auto text = ReadWholeFile(fs, JoinPath(fs, folder, "DaZEZIROZevManualGain.txt"));
  if (!text.ok()) return gains;
  size_t pos = 0;
  while (pos < text->size() && gains.size() < 256) {
    size_t end = text->find('\n', pos);
    if (end == std::string::npos) end = text->size();
    std::string line = text->substr(pos, std::min<size_t>(end - pos, 255));
    pos = end + 1;
    ManualGain g;
    if (std::sscanf(line.c_str(), "%d%f", &g.nInstrument, &g.fFactor) == 2) gains.push_back(g);
  }
  return gains;
}

int ImportMtNeoFile(FileSystem& fs, Prompt& prompt, SeismicRecord& record, const std::string& path, int bAllocate,
                    int bReadData, const OrbelChannels& orbel) {
  auto header = ReadMtNeoHeader(fs, path);
  if (!header.ok()) return 0;
  const MtNeoHeader& h = *header;
  auto file = fs.OpenForRead(path);
  if (!file.ok()) return 0;

  const int64_t framesRead = std::min(h.nFileFrames, kMaxFrames);
  const int traces = h.nComponents;
  for (auto& channel : record.ppStageData) channel.assign(static_cast<size_t>(framesRead), 0.0f);
  if (bReadData) {
    std::vector<unsigned char> raw(static_cast<size_t>(framesRead * h.nFrameBytes));
    if (!ReadExactly(**file, kHeaderBytes, raw.size(), reinterpret_cast<char*>(raw.data())).ok()) return 0;
    const float v = h.ScalePerCount();
    for (int64_t j = 0; j < framesRead; ++j) {
      const unsigned char* frame = raw.data() + j * h.nFrameBytes;
      for (int k = 0; k < 3; ++k) {
        const int32_t count = Count(frame + (traces == 1 ? 0 : 4 * k));
        const int gain = traces == 1 ? h.nGain[2] : h.nGain[k];
        record.ppStageData[k][j] = static_cast<float>(count) * v / static_cast<float>(gain);
      }
    }
    if (framesRead == kMaxFrames && h.nFrames > kMaxFrames) {
      prompt.Show(" Number of samples is too large ! \n\n Data will be truncated. \n\n Change maximum samples by "
                  "'Option', 'Dimension size' !");
    }
  }
  FillStagingHeaders(record, h, framesRead, orbel);
  const size_t samples = static_cast<size_t>(record.pStageHeader[0].nSamples);
  for (auto& channel : record.ppStageData) channel.resize(samples);
  if (bReadData) {
    if (!h.bOrbel) {
      for (auto& channel : record.ppStageData) {
        for (float& x : channel) x /= 0.002040816f;
      }
    }
    ApplyManualGains(fs, prompt, record, traces);
  }

  const float seconds = static_cast<float>(record.pStageHeader[0].nSamples) * record.pStageHeader[0].fSampleInterval /
                        1000000.0f;
  AppendMonitorLine(fs, seconds, path);
  if (seconds < 59.0f) return 0;

  if (bAllocate) {
    record.ReleaseTraces();
    record.AllocateTraces(traces);
  } else {
    record.pHeader.resize(static_cast<size_t>(traces));
    record.pHeaderXY.resize(static_cast<size_t>(traces));
    record.ppData.resize(static_cast<size_t>(traces));
  }
  for (int k = 0; k < traces; ++k) {
    record.pHeader[k] = record.pStageHeader[k];
    if (bReadData) {
      record.ppData[k] = record.ppStageData[k];
    } else {
      record.ppData[k].assign(samples, 0.0f);
    }
  }
  record.nTraces = record.nTracesInFile = traces;
  record.bAllocated = 1;
  if (bReadData) record.ComputeSummary();
  return traces;
}

}  // namespace zentrova
