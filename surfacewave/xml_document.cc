#include "surfacewave/xml_document.h"

#include <algorithm>
#include <memory>
#include <sstream>

#include "platform/printf.h"
#include "surfacewave/text_file.h"
#include "surfacewave/xml_tags.h"
#include "surfacewave/xml_text.h"

namespace zentrova {
namespace {

// Appends a value element with its text, then a line feed to the parent.
void AddValue(pugi::xml_node parent, const std::string& name, const std::string& value) {
  pugi::xml_node element = parent.append_child(name.c_str());
  element.append_child(pugi::node_pcdata).set_value(XmlSafeText(value).c_str());
  parent.append_child(pugi::node_pcdata).set_value("\n");
}
void AddInt(pugi::xml_node parent, const std::string& name, int value) { AddValue(parent, name, Printf("%d", value)); }
void AddFloat(pugi::xml_node parent, const std::string& name, float value) {
  AddValue(parent, name, Printf("%f", static_cast<double>(value)));
}
void AddDouble(pugi::xml_node parent, const std::string& name, double value) {
  AddValue(parent, name, Printf("%lf", value));
}
pugi::xml_node AddContainer(pugi::xml_node parent, const std::string& name) {
  return parent.append_child(name.c_str());
}

void AddHeader(const XmlHeaderData& h, const CStandardXMLTagSurfaceWave& t, pugi::xml_node header) {
  pugi::xml_node inv = AddContainer(header, t.tagInvestigation);
  AddValue(inv, t.tagProject, h.investigation.project);
  AddValue(inv, t.tagInvestigationName, h.investigation.investigationName);
  AddValue(inv, t.tagClient, h.investigation.client);
  AddValue(inv, t.tagContractor, h.investigation.contractor);
  AddValue(inv, t.tagApplication, h.investigation.purpose);
  AddValue(inv, t.tagSiteName, h.investigation.site);

  pugi::xml_node site = AddContainer(header, t.tagInvestigationSite);
  AddDouble(site, t.tagLocationLatitude, h.site.latitude);
  AddDouble(site, t.tagLocationLongitude, h.site.longitude);
  AddFloat(site, t.tagLocationElevation, h.site.elevation);
  AddValue(site, t.tagLocationSite, h.site.name);
  if (h.site.geomorphologicCode >= 0) AddInt(site, t.tagJshisGeomorphologicCode, h.site.geomorphologicCode);
  if (h.site.avs30 > 0.0f) AddFloat(site, t.tagJshisAvs30, h.site.avs30);

  pugi::xml_node survey = AddContainer(header, t.tagSurvey);
  AddValue(survey, t.tagSurveyMethod, h.survey.method);
  AddInt(survey, t.tagSurveySectionIndex, 0);
  pugi::xml_node acq = AddContainer(survey, t.tagAcquisition);
  AddValue(acq, t.tagOperator, h.survey.acquisition.operatorName);
  AddValue(acq, t.tagAcquisitionDate, h.survey.acquisition.acquisitionDate);
  AddValue(acq, t.tagAcquisitionMethod, h.survey.acquisition.method);
  AddValue(acq, t.tagInstrument, h.survey.acquisition.instrument);
  pugi::xml_node ana = AddContainer(survey, t.tagAnalysis);
  AddValue(ana, t.tagAnalyst, h.survey.analysis.analyst);
  AddValue(ana, t.tagAnalysisMethod, h.survey.analysis.method);
  AddValue(ana, t.tagAnalysysSoftware, h.survey.analysis.software);

  pugi::xml_node db = AddContainer(header, t.tagDatabaseInformation);
  if (!h.database.name.empty()) AddValue(db, t.tagDatabaseName, h.database.name);
  if (!h.database.fileName.empty()) AddValue(db, t.tagFileName, h.database.fileName);
  if (!h.database.folderPath.empty()) AddValue(db, t.tagFolderPath, h.database.folderPath);
  if (h.database.id >= 0) AddInt(db, t.tagDatabaseId, h.database.id);
}

void AddSurfaceWave(const SurfaceWaveData& d, const CStandardXMLTagSurfaceWave& t, pugi::xml_node kind) {
  if (d.curve) {
    pugi::xml_node curve = AddContainer(kind, t.tagSwDispersionCurve);
    AddInt(curve, t.tagSwDcPvNPhaseVelocity, d.curve->count);
    for (int i = 0; i < d.curve->count && i < static_cast<int>(d.curve->points.size()); ++i) {
      pugi::xml_node point = AddContainer(curve, t.tagSwDcPhaseVelocity);
      AddFloat(point, t.tagSwDcPvFrequency, d.curve->points[i].frequency);
      AddFloat(point, t.tagSwDcPvPhaseVelocity, d.curve->points[i].phaseVelocity);
    }
  }
  if (d.model) {
    const VelocityModelTags& m = t.velocityModel;
    pugi::xml_node model = AddContainer(kind, m.model);
    AddInt(model, m.nLayer, d.model->count);
    AddFloat(model, m.loveRayleighRatio, d.model->loveRayleighRatio);
    for (int i = 0; i < d.model->count && i < static_cast<int>(d.model->layers.size()); ++i) {
      const VelocityLayer& l = d.model->layers[i];
      pugi::xml_node layer = AddContainer(model, m.layer);
      AddFloat(layer, m.pVelocity, l.pVelocity);
      AddFloat(layer, m.sVelocity, l.sVelocity);
      AddFloat(layer, m.density, l.density);
      AddFloat(layer, m.thickness, l.thickness);
    }
  }
}

const std::string& KindTag(const CStandardXMLTagSurfaceWave& t, int kind) {
  if (kind == XmlSurveyData::kSurfaceWave2D) return t.tagSurfaceWave2d;
  if (kind == XmlSurveyData::kSeismicLogging) return t.tagSeismicLogging;
  return t.tagSurfaceWave1d;
}

}  // namespace

void BuildStandardXml(const XmlSurveyData& data, pugi::xml_document& document) {
  const auto tags = std::make_unique<CStandardXMLTagSurfaceWave>();
  const CStandardXMLTagSurfaceWave& t = *tags;
  pugi::xml_node pi = document.append_child(pugi::node_pi);
  pi.set_name("xml");
  pi.set_value("version='1.0' encoding='UTF-8'");
  document.append_child(pugi::node_comment).set_value("HALVORNE STANDARD XML SURFACE WAVE 1D");
  pugi::xml_node root = document.append_child(t.tagSite.c_str());
  AddValue(root, t.tagLanguage, t.tagEnglish);
  pugi::xml_node database = AddContainer(root, t.tagDatabase);
  AddValue(database, t.tagDatabaseVersion, "HALVORRNE.STANDARD.FORMAT.2011.01");
  AddHeader(data.header, t, AddContainer(root, t.tagHeader));
  AddSurfaceWave(data.surfaceWave, t, AddContainer(root, KindTag(t, data.kind)));
}

std::string StandardXmlText(const pugi::xml_document& document) {
  std::ostringstream out;
  for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
    node.print(out, "", pugi::format_raw);
    out << "\r\n";
  }
  return out.str();
}

std::string StandardXmlText(const XmlSurveyData& data) {
  pugi::xml_document document;
  BuildStandardXml(data, document);
  return StandardXmlText(document);
}

int FillXmlFromResult(SurfaceWaveResult& result, const SeismicRecord& record, XmlSurveyData& data, FileSystem& fs,
                      const std::string& folder) {
  SurfaceWaveData& sw = data.surfaceWave;
  sw.curve.reset();
  sw.hoverv.reset();
  sw.model.reset();
  const int picks = std::min<int>(result.nPicks, static_cast<int>(result.fPickFrequency.size()));
  if (picks >= 1) {
    sw.curve = std::make_unique<DispersionCurveData>(picks);
    for (int i = 0; i < picks; ++i) {
      sw.curve->points.push_back({result.fPickFrequency[i], result.fPickVelocity[i] * 1000.0f});
    }
    sw.curve->count = picks;
  }
  const int layers = std::min<int>(result.nLayers, static_cast<int>(result.fVs.size()));
  if (layers >= 1) {
    for (int i = 0; i < layers; ++i) {
      result.fVp[i] = 2.0f * result.fVs[i];
      result.fDensity[i] = 1500.0f;
    }
    sw.model = std::make_unique<VelocityModelData>(layers);
    sw.model->loveRayleighRatio = 0.7f;
    for (int i = 0; i < layers; ++i) {
      VelocityLayer l;
      l.sVelocity = result.fVs[i] * 1000.0f;
      l.pVelocity = result.fVp[i] * 1000.0f;
      l.density = result.fDensity[i] * 1000.0f;
      const float top = i == 0 ? 0.0f : result.fLayerBottom[i - 1];
      l.thickness = i == layers - 1 ? 99000.0f : (result.fLayerBottom[i] - top) * 1000.0f;
      sw.model->layers.push_back(l);
    }
    sw.model->count = layers;
  }
  SiteInformation& site = data.header.site;
  site.latitude = record.time.dLatitude;
  site.longitude = record.time.dLongitude;
  site.elevation = static_cast<float>(record.time.dElevation);
  site.name = "Site name";

  const std::string text = StandardXmlText(data);
  const std::string path = JoinPath(fs, folder, kStandardXmlFileName);
  (void)ReplaceTextFile(fs, path, text);  // never through a link at the name, never into a FIFO
  return result.nPicks + result.nLayers > 0 ? 1 : 0;
}

}  // namespace zentrova
