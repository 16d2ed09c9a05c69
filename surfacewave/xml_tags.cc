#include "surfacewave/xml_tags.h"

namespace zentrova {

std::vector<std::string> CStandardXMLTag::All() const {
  return {tagEnglish, tagHeader, tagGeophysicalSections, tagLanguage, tagNumberOfLines, tagLine, tagCommonView, tagInvestigation, tagDatabase, tagDatabaseVersion, tagDatabaseInformation, tagDatabaseName, tagFileName, tagFolderPath, tagDatabaseId, tagScale, tagVerticalHorizontalRatio, tagSection, tagPhysicalProperty, tagUnit, tagCell, tagView, tagLocation, tagLocationType, tagLocationCoordinate, tagLocationOrigin, tagLocationOriginX, tagLocationOriginY, tagLocationNNode, tagLocationNodeOfLocation, tagLocationINode, tagLocationNodeX, tagLocationNodeY, tagLocationLatitude, tagLocationLongitude, tagLocationDistance, tagLocationElevation, tagLocationSite, tagJshisGeomorphologicCode, tagJshisAvs30, tagInvestigationSite, tagSiteInformation, tagSiteName, tagSurvey, tagSurveyMethod, tagAcquisition, tagOperator, tagAcquisitionDate, tagAcquisitionMethod, tagInstrument, tagAnalysis, tagAnalyst, tagAnalysisMethod, tagAnalysysSoftware, tagProject, tagInvestigationName, tagClient, tagContractor, tagApplication, tagContour, tagNContour, tagContourBoundary, tagIContourBoundary, tagR, tagG, tagB, tagBoundaryValue, tagAxis, tagAxisXst, tagAxisXe, tagAxisXi, tagAxisNx, tagAxisYst, tagAxisYe, tagAxisYi, tagAxisNy, tagLevee, tagRiverName, tagRiverSide, tagLeveeLocation, tagDistancePostStar, tagDistancePostStarOdd, tagDistancePostEnd, tagDistancePostEndOdd};
}

std::vector<std::string> CStandardXMLTag_2010_01::All() const {
  std::vector<std::string> all = CStandardXMLTag::All();
  for (const std::string& name : {tagTRUE, tagFALSE, tagSurveySectionIndex, tagSectionIndex, tagSectionFormat, tagDataMethod, tagDataArea, tagSectionGrid, tagGridNx, tagGridNz, tagTETRAGONGRIDS, tagELEMENT, tagNODE, tagELEMENTDEFINITION, tagNODEDEFINITION, tagNodeDefinition, tagNodeNNode, tagNodeNode, tagNodeXIndex, tagNodeZIndex, tagNodeIndex, tagNodeX, tagNodeZ, tagNodeProperty, tagNodeData, tagNodeDataIndex, tagSurface, tagElementDefinition, tagElementNElement, tagElementElement, tagElementIndex, tagElementNNode, tagElementNodeIndex, tagElementDataIndex, tagElementData, tagElementXIndex, tagElementZIndex, tagElementNodeOrder, tagDataDefinition, tagDataNData, tagDataData, tagDataIndex, tagDataValue, tagContourMethod, tagContourLine, tagContour, tagGrid, tagNoColor}) {
    all.push_back(name);
  }
  return all;
}

std::vector<std::string> CStandardXMLTagSurfaceWave::All() const {
  std::vector<std::string> all = CStandardXMLTag_2010_01::All();
  for (const std::string& name : {tagSites, tagSite, tagNSite, tagSurfaceWaveGeometry, tagSurfaceWave1d, tagSurfaceWave2d, tagSeismicLogging, tagSwDispersionCurve, tagSwDcPhaseVelocity, tagSwDcPvNPhaseVelocity, tagSwDcPvFrequency, tagSwDcPvPhaseVelocity, tagSwHovervCurve, tagSwHcHoverv, tagSwHcNHoverv, tagSwHcHvFrequency, tagSwHcHvHoverv, tagSwHcMinHovervFreq, tagSwHcMaxHovervFreq}) {
    all.push_back(name);
  }
  return all;
}

VelocityModelTags SurfaceWaveVelocityModelTags() {
  VelocityModelTags t;
  t.model = "sw_velocity_model";
  t.layer = "sw_vm_layer";
  t.nLayer = "sw_vm_n_layer";
  t.pVelocity = "sw_vm_lay_pvelocity";
  t.sVelocity = "sw_vm_lay_svelocity";
  t.density = "sw_vm_lay_density";
  t.thickness = "sw_vm_lay_thickness";
  return t;
}

}  // namespace zentrova
