#pragma once
// What the standard geophysical XML document holds: the descriptive header
// records (read once from the settings), the site position, and the
// surface-wave data of the latest analysis.

#include <memory>
#include <string>
#include <vector>

#include "monitor/settings.h"

namespace zentrova {

struct CInvestigationInformation {
  std::string project = "Project";
  std::string investigationName = "InvestigationName";
  std::string client = "Client";
  std::string contractor = "Contractor";
  std::string purpose = "Purpose";
  std::string site = "Site";
};

struct SiteInformation {
  std::string name = "Site name";
  double latitude = -1000.0;
  double longitude = -1000.0;
  float elevation = 0.0f;
  int geomorphologicCode = -1;  // written only when >= 0
  float avs30 = 0.0f;           // written only when > 0
};

struct CAcquisitionInformation {
  std::string operatorName = "Operator";
  std::string acquisitionDate = "20010101";
  std::string method = "Method";
  std::string instrument = "Instrument";
};

struct CAnalysisInformation {
  std::string analyst = "Analyst";
  std::string method = "Non-linear least square method";
  std::string software = "Kalvane";
};

// The survey method names; a survey carries the first.
extern const char* const kSurveyMethods[5];

struct CSurveyInformation {
  std::string method = kSurveyMethods[0];
  CAcquisitionInformation acquisition;
  CAnalysisInformation analysis;
};

struct DatabaseInformation {
  std::string name;
  std::string fileName;
  std::string folderPath;
  int id = -1;  // written only when >= 0
};

struct XmlHeaderData {
  CInvestigationInformation investigation;
  SiteInformation site;
  CSurveyInformation survey;
  DatabaseInformation database;
};

// Phase velocities in m/s x 1000, as the format stores them.
struct DispersionPoint {
  float frequency = 0.0f;
  float phaseVelocity = 0.0f;
};

struct DispersionCurveData {
  explicit DispersionCurveData(int n) : capacity(n) { points.reserve(n); }
  int count = 0;
  int capacity = 0;
  std::vector<DispersionPoint> points;
};

// Velocities and density x 1000; thickness in m x 1000.
struct VelocityLayer {
  float sVelocity = 0.0f;
  float pVelocity = 0.0f;
  float density = 0.0f;
  float thickness = 0.0f;
};

struct VelocityModelData {
  explicit VelocityModelData(int n) : capacity(n) { layers.reserve(n); }
  int count = 0;
  int capacity = 0;
  float loveRayleighRatio = 0.0f;
  std::vector<VelocityLayer> layers;
};

// Never made by this station; kept so that the document's parts are complete.
struct HoverVCurveData {
  int count = 0;
};

struct SurfaceWaveData {
  std::unique_ptr<DispersionCurveData> curve;
  std::unique_ptr<HoverVCurveData> hoverv;
  std::unique_ptr<VelocityModelData> model;
};

struct XmlSurveyData {
  enum Kind { kSurfaceWave1D = 0, kSurfaceWave2D = 1, kSeismicLogging = 2 };

  XmlSurveyData() = default;
  // The header records read from the settings, once.
  explicit XmlSurveyData(Settings& settings);

  XmlHeaderData header;
  SurfaceWaveData surfaceWave;
  int kind = kSurfaceWave1D;

  // After an upload: the curves and the model go; the header stays.
  void ReleaseSurfaceWaveData();
};

// The header records with the stored texts of section "General" (each
// default standing when its value is absent). Read once: a later change
// of a setting takes effect at the next start.
XmlHeaderData LoadXmlHeaderData(Settings& settings);

}  // namespace zentrova
