#include "surfacewave/xml_survey_data.h"

namespace zentrova {

const char* const kSurveyMethods[5] = {"geophysical_exploration", "p_refraction", "s_refraction", "resistivity",
                                       "surface_wave"};

XmlSurveyData::XmlSurveyData(Settings& settings) : header(LoadXmlHeaderData(settings)) {}

void XmlSurveyData::ReleaseSurfaceWaveData() {
  surfaceWave.curve.reset();
  surfaceWave.hoverv.reset();
  surfaceWave.model.reset();
}

XmlHeaderData LoadXmlHeaderData(Settings& settings) {
  XmlHeaderData h;
  CInvestigationInformation& i = h.investigation;
  settings.LoadText("Investigation_sProject", i.project);
  settings.LoadText("Investigation_sInvestigationName", i.investigationName);
  settings.LoadText("Investigation_sClient", i.client);
  settings.LoadText("Investigation_sContractor", i.contractor);
  settings.LoadText("Investigation_sApplication", i.purpose);
  settings.LoadText("Investigation_sSite", i.site);
  CAcquisitionInformation& a = h.survey.acquisition;
  settings.LoadText("Acquisition_sOperator", a.operatorName);
  settings.LoadText("Acquisition_sAcquisitionDate", a.acquisitionDate);
  settings.LoadText("Acquisition_sMethod", a.method);
  settings.LoadText("Acquisition_sInstrument", a.instrument);
  CAnalysisInformation& n = h.survey.analysis;
  settings.LoadText("Analysis_sAnalyst", n.analyst);
  settings.LoadText("Analysis_sMethod", n.method);
  settings.LoadText("Analysis_sSoftware", n.software);
  return h;
}

}  // namespace zentrova
