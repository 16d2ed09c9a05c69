#include "archive/mseed_records.h"

#include <libmseed.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace zentrova {
namespace {

void Collect(char* record, int length, void* out) { static_cast<std::string*>(out)->append(record, length); }

// Steim-2 holds differences of up to 30 bits; samples further apart go
// as plain 32-bit integers.
bool FitsSteim2(const int32_t* x, size_t n) {
  constexpr int64_t kLargest = (int64_t{1} << 29) - 1;
  for (size_t i = 1; i < n; ++i) {
    const int64_t d = int64_t{x[i]} - int64_t{x[i - 1]};
    if (d > kLargest || d < -kLargest - 1) return false;
  }
  return true;
}

void CopyCode(char* field, size_t size, const std::string& code) {
  std::strncpy(field, code.c_str(), size - 1);
  field[size - 1] = '\0';
}

}  // namespace

int64_t RecordSpan::EndUs() const {
  if (!(sampleRateHz > 0)) return startUs;
  return startUs + static_cast<int64_t>(std::llround(static_cast<double>(sampleCount) * 1e6 / sampleRateHz));
}

std::string PackRecords(const StreamId& id, const SamplePiece& piece) {
  std::string out;
  const ArchiveTrace& t = *piece.trace;
  if (piece.count == 0 || piece.first + piece.count > t.Count() || !(t.intervalUs > 0)) return out;
  MSRecord* msr = msr_init(nullptr);
  if (!msr) return out;
  CopyCode(msr->network, sizeof msr->network, id.network);
  CopyCode(msr->station, sizeof msr->station, id.station);
  CopyCode(msr->location, sizeof msr->location, id.location);
  CopyCode(msr->channel, sizeof msr->channel, id.channel);
  msr->dataquality = 'D';
  msr->starttime = piece.startUs;
  msr->samprate = 1e6 / t.intervalUs;
  msr->reclen = kMiniSeedRecordBytes;
  msr->byteorder = 1;
  msr->numsamples = static_cast<int64_t>(piece.count);
  // Without blockette 1001 a record's start is kept to 100 us only.
  struct blkt_1001_s b1001;
  std::memset(&b1001, 0, sizeof b1001);
  if (!msr_addblockette(msr, reinterpret_cast<char*>(&b1001), sizeof b1001, 1001, 0)) {
    msr_free(&msr);
    return out;
  }
  // libmseed reads the samples and never writes them; the copy keeps the
  // trace constant.
  std::vector<int32_t> ints;
  std::vector<float> floats;
  std::vector<double> doubles;
  switch (t.kind) {
    case SampleKind::kInt32:
      ints.assign(t.ints.begin() + piece.first, t.ints.begin() + piece.first + piece.count);
      msr->datasamples = ints.data();
      msr->sampletype = 'i';
      msr->encoding = FitsSteim2(ints.data(), ints.size()) ? DE_STEIM2 : DE_INT32;
      break;
    case SampleKind::kFloat32:
      floats.assign(t.floats.begin() + piece.first, t.floats.begin() + piece.first + piece.count);
      msr->datasamples = floats.data();
      msr->sampletype = 'f';
      msr->encoding = DE_FLOAT32;
      break;
    case SampleKind::kFloat64:
      doubles.assign(t.doubles.begin() + piece.first, t.doubles.begin() + piece.first + piece.count);
      msr->datasamples = doubles.data();
      msr->sampletype = 'd';
      msr->encoding = DE_FLOAT64;
      break;
  }
  int64_t packed = 0;
  const int records = msr_pack(msr, &Collect, &out, &packed, 1, 0);
  msr->datasamples = nullptr;  // ours, not libmseed's to free
  msr_free(&msr);
  if (records <= 0 || packed != static_cast<int64_t>(piece.count) ||
      out.size() % kMiniSeedRecordBytes != 0) {
    out.clear();
  }
  return out;
}

std::optional<RecordSpan> ReadRecordSpan(std::string_view record) {
  if (record.size() < static_cast<size_t>(kMiniSeedRecordBytes)) return std::nullopt;
  std::string copy(record.substr(0, kMiniSeedRecordBytes));
  MSRecord* msr = nullptr;
  if (msr_parse(copy.data(), kMiniSeedRecordBytes, &msr, kMiniSeedRecordBytes, 0, 0) != MS_NOERROR || !msr) {
    if (msr) msr_free(&msr);
    return std::nullopt;
  }
  RecordSpan span;
  span.startUs = msr->starttime;
  span.sampleCount = msr->samplecnt;
  span.sampleRateHz = msr_samprate(msr);
  char name[64];
  span.channel = msr_srcname(msr, name, 0);
  msr_free(&msr);
  return span;
}

}  // namespace zentrova
