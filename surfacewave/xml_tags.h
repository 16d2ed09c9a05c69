#pragma once
// The element names of the standard geophysical XML formats, shared by
// the common format, its 2010_01 section format and the surface-wave
// formats. One name per field; All() lists them in table order.

#include <string>
#include <vector>

namespace zentrova {

class CStandardXMLTag {
 public:
  virtual ~CStandardXMLTag() = default;
  virtual std::string Language() const { return "ENGLISH"; }
  std::vector<std::string> All() const;

  std::string tagEnglish = "English";
  std::string tagHeader = "header";
  std::string tagGeophysicalSections = "geophysical_sections";
  std::string tagLanguage = "language";
  std::string tagNumberOfLines = "number_of_lines";
  std::string tagLine = "line";
  std::string tagCommonView = "common_view";
  std::string tagInvestigation = "investigation";
  std::string tagDatabase = "database";
  std::string tagDatabaseVersion = "database_version";
  std::string tagDatabaseInformation = "database_information";
  std::string tagDatabaseName = "database_name";
  std::string tagFileName = "file_name";
  std::string tagFolderPath = "folder_path";
  std::string tagDatabaseId = "database_id";
  std::string tagScale = "scale";
  std::string tagVerticalHorizontalRatio = "vertical_horizontal_ratio";
  std::string tagSection = "section";
  std::string tagPhysicalProperty = "physical_property";
  std::string tagUnit = "unit";
  std::string tagCell = "cell";
  std::string tagView = "view";
  std::string tagLocation = "location";
  std::string tagLocationType = "location_type";
  std::string tagLocationCoordinate = "location_coordinate";
  std::string tagLocationOrigin = "location_origin";
  std::string tagLocationOriginX = "location_origin_x";
  std::string tagLocationOriginY = "location_origin_y";
  std::string tagLocationNNode = "location_n_node";
  std::string tagLocationNodeOfLocation = "location_node_of_location";
  std::string tagLocationINode = "location_i_node";
  std::string tagLocationNodeX = "location_node_x";
  std::string tagLocationNodeY = "location_node_y";
  std::string tagLocationLatitude = "location_latitude";
  std::string tagLocationLongitude = "location_longitude";
  std::string tagLocationDistance = "location_distance";
  std::string tagLocationElevation = "location_elevation";
  std::string tagLocationSite = "location_site";
  std::string tagJshisGeomorphologicCode = "jshis_geomorphologic_code";
  std::string tagJshisAvs30 = "jshis_avs30";
  std::string tagInvestigationSite = "investigation_site";
  std::string tagSiteInformation = "site_information";
  std::string tagSiteName = "site_name";
  std::string tagSurvey = "survey";
  std::string tagSurveyMethod = "survey_method";
  std::string tagAcquisition = "acquisition";
  std::string tagOperator = "operator";
  std::string tagAcquisitionDate = "acquisition_date";
  std::string tagAcquisitionMethod = "acquisition_method";
  std::string tagInstrument = "instrument";
  std::string tagAnalysis = "analysis";
  std::string tagAnalyst = "analyst";
  std::string tagAnalysisMethod = "analysis_method";
  std::string tagAnalysysSoftware = "analysys_software";
  std::string tagProject = "project";
  std::string tagInvestigationName = "investigation_name";
  std::string tagClient = "client";
  std::string tagContractor = "contractor";
  std::string tagApplication = "application";
  std::string tagContour = "contour";
  std::string tagNContour = "n_contour";
  std::string tagContourBoundary = "contour_boundary";
  std::string tagIContourBoundary = "i_contour_boundary";
  std::string tagR = "r";
  std::string tagG = "g";
  std::string tagB = "b";
  std::string tagBoundaryValue = "boundary_value";
  std::string tagAxis = "axis";
  std::string tagAxisXst = "axis_xst";
  std::string tagAxisXe = "axis_xe";
  std::string tagAxisXi = "axis_xi";
  std::string tagAxisNx = "axis_nx";
  std::string tagAxisYst = "axis_yst";
  std::string tagAxisYe = "axis_ye";
  std::string tagAxisYi = "axis_yi";
  std::string tagAxisNy = "axis_ny";
  std::string tagLevee = "levee";
  std::string tagRiverName = "river_name";
  std::string tagRiverSide = "river_side";
  std::string tagLeveeLocation = "levee_location";
  std::string tagDistancePostStar = "distance_post_star";
  std::string tagDistancePostStarOdd = "distance_post_star_odd";
  std::string tagDistancePostEnd = "distance_post_end";
  std::string tagDistancePostEndOdd = "distance_post_end_odd";
};

class CStandardXMLTag_2010_01 : public CStandardXMLTag {
 public:
  CStandardXMLTag_2010_01() { tagContour = "contour"; }
  std::vector<std::string> All() const;

  std::string tagTRUE = "TRUE";
  std::string tagFALSE = "FALSE";
  std::string tagSurveySectionIndex = "survey_section_index";
  std::string tagSectionIndex = "section_index";
  std::string tagSectionFormat = "section_format";
  std::string tagDataMethod = "data_method";
  std::string tagDataArea = "data_area";
  std::string tagSectionGrid = "section_grid";
  std::string tagGridNx = "grid_nx";
  std::string tagGridNz = "grid_nz";
  std::string tagTETRAGONGRIDS = "TETRAGON_GRIDS";
  std::string tagELEMENT = "ELEMENT";
  std::string tagNODE = "NODE";
  std::string tagELEMENTDEFINITION = "ELEMENT_DEFINITION";
  std::string tagNODEDEFINITION = "NODE_DEFINITION";
  std::string tagNodeDefinition = "node_definition";
  std::string tagNodeNNode = "node_n_node";
  std::string tagNodeNode = "node_node";
  std::string tagNodeXIndex = "node_x_index";
  std::string tagNodeZIndex = "node_z_index";
  std::string tagNodeIndex = "node_index";
  std::string tagNodeX = "node_x";
  std::string tagNodeZ = "node_z";
  std::string tagNodeProperty = "node_property";
  std::string tagNodeData = "node_data";
  std::string tagNodeDataIndex = "node_data_index";
  std::string tagSurface = "surface";
  std::string tagElementDefinition = "element_definition";
  std::string tagElementNElement = "element_n_element";
  std::string tagElementElement = "element_element";
  std::string tagElementIndex = "element_index";
  std::string tagElementNNode = "element_n_node";
  std::string tagElementNodeIndex = "element_node_index";
  std::string tagElementDataIndex = "element_data_index";
  std::string tagElementData = "element_data";
  std::string tagElementXIndex = "element_x_index";
  std::string tagElementZIndex = "element_z_index";
  std::string tagElementNodeOrder = "element_node_order";
  std::string tagDataDefinition = "data_definition";
  std::string tagDataNData = "data_n_data";
  std::string tagDataData = "data_data";
  std::string tagDataIndex = "data_index";
  std::string tagDataValue = "data_value";
  std::string tagContourMethod = "contour_method";
  std::string tagContourLine = "contour_line";
  std::string tagGrid = "grid";
  std::string tagNoColor = "no_color";
};

// The names of a layered velocity model.
struct VelocityModelTags {
  std::string model = "velocity_model";
  std::string layer = "vm_layer";
  std::string nLayer = "vm_n_layer";
  std::string loveRayleighRatio = "vm_love_rayleigh_ratio";
  std::string pVelocity = "vm_lay_pvelocity";
  std::string sVelocity = "vm_lay_svelocity";
  std::string density = "vm_lay_density";
  std::string thickness = "vm_lay_thickness";
};

// The surface-wave version: all but the ratio carry the "sw_" names.
VelocityModelTags SurfaceWaveVelocityModelTags();

class CStandardXMLTagSurfaceWave : public CStandardXMLTag_2010_01 {
 public:
  std::vector<std::string> All() const;

  std::string tagSites = "sites";
  std::string tagSite = "site";
  std::string tagNSite = "n_site";
  std::string tagSurfaceWaveGeometry = "surface_wave_geometry";
  std::string tagSurfaceWave1d = "surface_wave_1d";
  std::string tagSurfaceWave2d = "surface_wave_2d";
  std::string tagSeismicLogging = "seismic_logging";
  std::string tagSwDispersionCurve = "sw_dispersion_curve";
  std::string tagSwDcPhaseVelocity = "sw_dc_phase_velocity";
  std::string tagSwDcPvNPhaseVelocity = "sw_dc_pv_n_phase_velocity";
  std::string tagSwDcPvFrequency = "sw_dc_pv_frequency";
  std::string tagSwDcPvPhaseVelocity = "sw_dc_pv_phase_velocity";
  std::string tagSwHovervCurve = "sw_hoverv_curve";
  std::string tagSwHcHoverv = "sw_hc_hoverv";
  std::string tagSwHcNHoverv = "sw_hc_n_hoverv";
  std::string tagSwHcHvFrequency = "sw_hc_hv_frequency";
  std::string tagSwHcHvHoverv = "sw_hc_hv_hoverv";
  std::string tagSwHcMinHovervFreq = "sw_hc_min_hoverv_freq";
  std::string tagSwHcMaxHovervFreq = "sw_hc_max_hoverv_freq";
  VelocityModelTags velocityModel = SurfaceWaveVelocityModelTags();
};

}  // namespace zentrova
