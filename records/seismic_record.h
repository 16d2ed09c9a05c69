#pragma once
// The one multichannel record held in memory: a header per trace, the
// samples of every trace as 32-bit floats, and the record's time header.
// Readers replace its contents file by file; the detector, the dispersion
// analysis and the views read it.
//
// Invariant after every read: pHeader, pHeaderXY and ppData each hold
// exactly nTraces entries, and ppData[i] holds pHeader[i].nSamples floats.

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

class CHeader {
 public:
  virtual ~CHeader() = default;
  CHeader() = default;
  CHeader(const CHeader&) = default;
  CHeader& operator=(const CHeader&) = default;

  // nTrace .. nSamples as eight 4-byte little-endian values; returns 1.
  virtual int Write(std::string& out) const;
  // Reads the same eight values; returns the number of bytes taken (0 when
  // `in` is too short, and then nothing changes).
  virtual int Read(std::string_view in);
  // "%d %d %d %d %d %f %f %d \n"; returns 0 without a stream.
  int Dump(std::ostream* stream) const;

  int32_t nTrace = 0;
  int32_t nReceiverLoc = 0;   // receiver location x 100
  int32_t nSourceLoc = 0;     // source location x 100
  int32_t nFixedGain = 0;
  int32_t nComponent = 1;
  float fDelay = 0.0f;           // microseconds
  float fSampleInterval = 0.0f;  // microseconds
  int32_t nSamples = 0;
  float fReceiverLoc100 = 0.0f;
  int32_t nManualChannel = 0;
  float fMaxAmplitude = 0.0f;
  int32_t bSourceLocation = 0;  // the record gives the trace's source location (else nSourceLoc is 0 by default)
  // The sample format of the file the trace came from (SEG-2 format code:
  // 1 int16, 2 int32, 3 20-bit, 4 float32, 5 float64); 0 unknown. Not
  // written with the header.
  int32_t nFormatCode = 0;
};

class CHeaderXY : public CHeader {
 public:
  // The base values, then fLatitude, fLongitude and the two spare integers.
  int Write(std::string& out) const override;
  int Read(std::string_view in) override;

  int32_t nSpare1 = 0;
  int32_t nSpare2 = 0;
  float fLatitude = -1000.0f;   // decimal degrees, south negative; -1000 unknown
  float fLongitude = -1000.0f;  // decimal degrees, west negative; -1000 unknown
};

struct RecordTimeHeader {
  RecordTimeHeader();

  // First-sample time from the acquisition time and a delay in seconds.
  void SetFirstSampleTime(float delaySeconds);

  double dLatitude = 0.0;
  double dLongitude = 0.0;
  double dElevation = 0.0;
  int32_t bTimeValid = 0;
  int64_t tAcquisition = 0;
  std::string strAcquisition;
  int32_t nAcquisitionMs = 0;
  int64_t tFirstSample = 0;
  std::string strFirstSample;
  int32_t nFirstSampleMs = 0;
  // 0 $GPZDA, 1 $GPZDA present but empty, 2 ACQUISITION_DATE/TIME, 3 none.
  int32_t nGpsStatus = 3;
};

// "%02d:%02d:%06.3f %02d/%02d/%d" of a time and its milliseconds.
std::string FormatFirstSampleText(int64_t seconds, int ms);

// Largest absolute value of the finite ones among n samples (0 for none).
float PeakAmplitude(const float* samples, size_t n);

// Location as stored in nReceiverLoc / nSourceLoc: trunc(L x 100 + 0.1) for
// L >= 0, trunc(L x 100) below; clamped to the int range.
int32_t EncodeLocation(float location);
// Location given by the reader itself: trunc(k x 100 + 0.01).
int32_t EncodeAssignedLocation(double location);

class SeismicRecord {
 public:
  explicit SeismicRecord(std::string workFolder = ".");

  void AllocateAnalysisBuffers();
  // Releases the trace arrays. Sample buffers are kept aside (up to a bound)
  // and handed out again by AllocateTraces: the station reads records of the
  // same size one after another, and fresh memory for each would cost more
  // than reading the file.
  void ReleaseTraces();
  void AllocateTraces(int n);
  int ComputeSummary();
  // ComputeSummary for traces whose fMaxAmplitude is already set (a reader
  // takes each peak while the samples are still in the cache).
  int ComputeSummaryFromTracePeaks();
  // The traces, times and summary of `other` (a record read whole) take the
  // place of these, and these go to `other`; the analysis working set stays.
  void TakeTracesOf(SeismicRecord& other);

  std::string strWorkFolder;
  std::array<CHeader, 3> pStageHeader{};
  std::array<std::vector<float>, 3> ppStageData;
  std::string strFileName;
  int32_t nTraces = 0;
  int32_t nTracesInFile = 0;
  std::vector<CHeader> pHeader;
  std::vector<CHeaderXY> pHeaderXY;
  std::vector<std::vector<float>> ppData;
  int32_t bAllocated = 0;
  int32_t bAnalysisBuffers = 0;
  float fMaxLength = 0.0f;
  float fMinReceiver = 0.0f;
  float fMaxReceiver = 0.0f;
  RecordTimeHeader time;
  RecordTimeHeader* pTime = &time;
  float fMaxAmplitude = 0.0f;

  // Working set of the dispersion analysis.
  int32_t nDispRows = 0;
  std::vector<CHeader> pDispHeader;
  std::vector<std::vector<float>> ppDispImage;
  std::vector<std::vector<float>> ppDispImag;
  std::vector<float> fDispRowMax;
  std::vector<float> fPickVel;
  std::vector<float> fPickFreq;
  std::vector<uint8_t> bPickResolved;  // 1 where the row's pick lies in the band the spread resolves

  SeismicRecord(const SeismicRecord&) = delete;
  SeismicRecord& operator=(const SeismicRecord&) = delete;

 private:
  std::vector<std::vector<float>> spareBuffers_;
};

}  // namespace zentrova
