#pragma once
// What the acquisition controller does to the watched folder: one SEG-2
// record after another, each created, written in chunks over a short time
// while held open, and closed.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace zentrova {

struct SimulatorOptions {
  std::string outFolder = ".";
  int count = 10;
  int intervalMs = 1000;        // pause between two records
  int traces = 24;
  int samples = 1000;
  double sampleIntervalUs = 1000.0;
  int firstNumber = 1000;
  int64_t startTime = 0;        // record time of the first file; 0: now
  int eventEvery = 0;           // a clear event in every K-th record
  bool gps = false;             // a $GPZDA sentence in the file strings
  int chunks = 4;               // writes per file
  int chunkPauseMs = 20;        // pause between two writes of one file
  std::string extension = "sg2";
  double batteryVolts = 12.6;   // voltage logged with the first record
  double batteryDrop = 0.0;     // volts less with each further record
};

class SurveyLog;

// The samples of one record: quiet noise, and with `event` a strong
// burst in the middle of every trace.
std::vector<std::vector<float>> SimulatedTraces(const SimulatorOptions& options, int recordIndex, bool event);

// The bytes of record number `index` (0-based) of a run.
std::string SimulatedRecord(const SimulatorOptions& options, int index);

// The battery voltage logged with record `index`.
double BatteryVolts(const SimulatorOptions& options, int index);

// Writes options.count records, each followed by its lines in `survey`
// (when given); stops early once `stop` says so. Returns how many were
// written completely.
int RunSimulator(FileSystem& fs, Clock& clock, const SimulatorOptions& options, SurveyLog* survey = nullptr,
                 const std::function<bool()>& stop = {});

}  // namespace zentrova
