#include "surfacewave/xml_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/key_value_store.h"
#include "platform/linux_file_system.h"
#include "surfacewave/xml_tags.h"
#include "testing/child_process.h"
#include "testing/planted_entry.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct XmlFixture : ::testing::Test {
  MemoryStore profile, product;
  Settings settings{profile, product};
  LinuxFileSystem fs;
  testing::TempFolder dir;
  SeismicRecord record;
  SurfaceWaveResult result;
};

// The whole document of one pick and two layers, byte for byte.
TEST_F(XmlFixture, DocumentOfOnePickAndTwoLayers) {
  XmlSurveyData data(settings);
  record.time.dLatitude = 35.5;
  record.time.dLongitude = 139.25;
  record.time.dElevation = 12.5;
  result.nPicks = 1;
  result.fPickFrequency[0] = 10.0f;
  result.fPickVelocity[0] = 250.0f;
  result.nLayers = 2;
  result.fVs[0] = 150.0f;
  result.fLayerBottom[0] = 0.5f;
  result.fVs[1] = 300.0f;
  result.fLayerBottom[1] = 10000000.0f;
  ASSERT_EQ(FillXmlFromResult(result, record, data, fs, dir.path()), 1);
  EXPECT_EQ(result.fVp[1], 600.0f);
  EXPECT_EQ(result.fDensity[0], 1500.0f);
  const std::string expected =
      "<?xml version='1.0' encoding='UTF-8'?>\r\n"
      "<!--HALVORNE STANDARD XML SURFACE WAVE 1D-->\r\n"
      "<site><language>English</language>\n"
      "<database><database_version>HALVORRNE.STANDARD.FORMAT.2011.01</database_version>\n</database>"
      "<header><investigation><project>Project</project>\n<investigation_name>InvestigationName</investigation_name>\n"
      "<client>Client</client>\n<contractor>Contractor</contractor>\n<application>Purpose</application>\n"
      "<site_name>Site</site_name>\n</investigation>"
      "<investigation_site><location_latitude>35.500000</location_latitude>\n"
      "<location_longitude>139.250000</location_longitude>\n<location_elevation>12.500000</location_elevation>\n"
      "<location_site>Site name</location_site>\n</investigation_site>"
      "<survey><survey_method>geophysical_exploration</survey_method>\n<survey_section_index>0</survey_section_index>\n"
      "<acquisition><operator>Operator</operator>\n<acquisition_date>20010101</acquisition_date>\n"
      "<acquisition_method>Method</acquisition_method>\n<instrument>Instrument</instrument>\n</acquisition>"
      "<analysis><analyst>Analyst</analyst>\n<analysis_method>Non-linear least square method</analysis_method>\n"
      "<analysys_software>Kalvane</analysys_software>\n</analysis></survey>"
      "<database_information/></header>"
      "<surface_wave_1d><sw_dispersion_curve><sw_dc_pv_n_phase_velocity>1</sw_dc_pv_n_phase_velocity>\n"
      "<sw_dc_phase_velocity><sw_dc_pv_frequency>10.000000</sw_dc_pv_frequency>\n"
      "<sw_dc_pv_phase_velocity>250000.000000</sw_dc_pv_phase_velocity>\n</sw_dc_phase_velocity></sw_dispersion_curve>"
      "<sw_velocity_model><sw_vm_n_layer>2</sw_vm_n_layer>\n<vm_love_rayleigh_ratio>0.700000</vm_love_rayleigh_ratio>\n"
      "<sw_vm_layer><sw_vm_lay_pvelocity>300000.000000</sw_vm_lay_pvelocity>\n"
      "<sw_vm_lay_svelocity>150000.000000</sw_vm_lay_svelocity>\n<sw_vm_lay_density>1500000.000000</sw_vm_lay_density>\n"
      "<sw_vm_lay_thickness>500.000000</sw_vm_lay_thickness>\n</sw_vm_layer>"
      "<sw_vm_layer><sw_vm_lay_pvelocity>600000.000000</sw_vm_lay_pvelocity>\n"
      "<sw_vm_lay_svelocity>300000.000000</sw_vm_lay_svelocity>\n<sw_vm_lay_density>1500000.000000</sw_vm_lay_density>\n"
      "<sw_vm_lay_thickness>99000.000000</sw_vm_lay_thickness>\n</sw_vm_layer></sw_velocity_model>"
      "</surface_wave_1d></site>\r\n";
  EXPECT_EQ(dir.Read("test.xml"), expected);
  EXPECT_EQ(StandardXmlText(data), expected);
}

TEST_F(XmlFixture, ThirteenPicksAndFifteenLayers) {
  XmlSurveyData data;
  result.nPicks = 13;
  for (int i = 0; i < 13; ++i) {
    result.fPickFrequency[i] = 3.90625f * static_cast<float>(i);
    result.fPickVelocity[i] = 100.0f;
  }
  result.nLayers = 15;
  for (int i = 0; i < 15; ++i) {
    result.fVs[i] = 200.0f;
    result.fLayerBottom[i] = static_cast<float>(i + 1);
  }
  result.fLayerBottom[14] = 10000000.0f;
  ASSERT_EQ(FillXmlFromResult(result, record, data, fs, dir.path()), 1);
  const std::string text = dir.Read("test.xml");
  EXPECT_EQ(Count(text, "<sw_dc_phase_velocity>"), 13u);
  EXPECT_EQ(Count(text, "<sw_vm_layer>"), 15u);
  EXPECT_EQ(Count(text, "<sw_vm_lay_thickness>1000.000000<"), 14u);
  EXPECT_EQ(Count(text, "<sw_vm_lay_thickness>99000.000000<"), 1u);
  EXPECT_NE(text.find("<sw_dc_pv_frequency>46.875000<"), std::string::npos);
}

// No data: 0 (nothing to upload), but the file is written with an empty
// kind element; an unknown position is written as -1000.
TEST_F(XmlFixture, NoPicksNoLayers) {
  XmlSurveyData data;
  dir.Write("test.xml", "an earlier document, much longer than the new one will be ......................."
                        "..........................................................................................."
                        "..........................................................................................."
                        "..........................................................................................."
                        "..........................................................................................."
                        "..........................................................................................."
                        "..........................................................................................."
                        "..........................................................................................."
                        "..........................................................................................."
                        "...........................................................................................");
  record.time.dLatitude = -1000.0;
  record.time.dLongitude = -1000.0;
  EXPECT_EQ(FillXmlFromResult(result, record, data, fs, dir.path()), 0);
  const std::string text = dir.Read("test.xml");
  EXPECT_EQ(text.rfind("<?xml", 0), 0u);
  EXPECT_NE(text.find("</header><surface_wave_1d/></site>\r\n"), std::string::npos);
  EXPECT_NE(text.find("<location_latitude>-1000.000000</location_latitude>\n"), std::string::npos);
  EXPECT_NE(text.find("<location_longitude>-1000.000000</location_longitude>\n"), std::string::npos);
  EXPECT_EQ(text.find("earlier"), std::string::npos);
  EXPECT_FALSE(data.surfaceWave.curve);
  EXPECT_FALSE(data.surfaceWave.model);
}

// The optional values appear only when set; texts are escaped.
TEST_F(XmlFixture, OptionalValuesAndEscaping) {
  XmlSurveyData data;
  data.header.site.geomorphologicCode = 0;
  data.header.site.avs30 = 250.5f;
  data.header.database.name = "db";
  data.header.database.id = 7;
  data.header.investigation.client = "A & B <C>";
  const std::string text = StandardXmlText(data);
  EXPECT_NE(text.find("<location_site>Site name</location_site>\n<jshis_geomorphologic_code>0</jshis_geomorphologic_code>\n"
                      "<jshis_avs30>250.500000</jshis_avs30>\n</investigation_site>"),
            std::string::npos);
  EXPECT_NE(text.find("<database_information><database_name>db</database_name>\n<database_id>7</database_id>\n"
                      "</database_information>"),
            std::string::npos);
  EXPECT_NE(text.find("<client>A &amp; B &lt;C&gt;</client>"), std::string::npos);
  data.header.site.geomorphologicCode = -1;
  data.header.site.avs30 = 0.0f;
  EXPECT_EQ(StandardXmlText(data).find("jshis"), std::string::npos);
}

// The header records come from the settings once: a later change waits
// for the next start.
TEST_F(XmlFixture, HeaderReadOnce) {
  profile.values["Analysis_sSoftware"] = "Surveyor 2";
  profile.values["Investigation_sProject"] = "Dam";
  XmlSurveyData data(settings);
  profile.values["Analysis_sSoftware"] = "Surveyor 3";
  const std::string text = StandardXmlText(data);
  EXPECT_NE(text.find("<analysys_software>Surveyor 2</analysys_software>"), std::string::npos);
  EXPECT_NE(text.find("<project>Dam</project>"), std::string::npos);
  EXPECT_NE(text.find("<acquisition_date>20010101</acquisition_date>"), std::string::npos);
}

TEST_F(XmlFixture, ReleaseKeepsTheHeader) {
  XmlSurveyData data(settings);
  result.nPicks = 1;
  result.nLayers = 1;
  ASSERT_EQ(FillXmlFromResult(result, record, data, fs, dir.path()), 1);
  data.ReleaseSurfaceWaveData();
  EXPECT_FALSE(data.surfaceWave.curve);
  EXPECT_FALSE(data.surfaceWave.model);
  EXPECT_EQ(data.header.survey.analysis.software, "Kalvane");
}

// The document goes in beside the name and replaces it: a link there is
// replaced, not written through, and a FIFO there never stops the analysis.
TEST_F(XmlFixture, TestXmlNeverFollowsALinkNorWaitsOnAFifo) {
  XmlSurveyData data(settings);
  result.nPicks = 1;
  for (testing::Planted kind : testing::kPlantedKinds) {
    testing::PlantedEntry planted(dir.Path("test.xml"), kind);
    EXPECT_TRUE(planted.ReturnsPromptly([&] { FillXmlFromResult(result, record, data, fs, dir.path()); }))
        << PlantedName(kind);
    EXPECT_EQ(planted.ReadFromFifo(), "") << PlantedName(kind);
    EXPECT_NE(dir.Read("test.xml").find("<site>"), std::string::npos) << PlantedName(kind);
  }
}

// Settings typed on an older station in Latin-1, or holding control
// characters, still give a document that another parser accepts.
TEST_F(XmlFixture, SettingsTextsThatAreNotUtf8OrHoldControlsStillParse) {
  profile.values["Investigation_sProject"] = "Caf\xe9";
  profile.values["Acquisition_sOperator"] = std::string("A\x01" "B\0C\x7f", 6) + "\tD";
  profile.values["Investigation_sClient"] = "K\xc3\xb6ln \xe2\x82\xac";  // UTF-8 already: kept
  XmlSurveyData data(settings);
  result.nPicks = 1;
  ASSERT_EQ(FillXmlFromResult(result, record, data, fs, dir.path()), 1);
  const std::string text = dir.Read("test.xml");
  EXPECT_NE(text.find("<project>Caf\xc3\xa9</project>"), std::string::npos);
  EXPECT_NE(text.find("<operator>ABC\tD</operator>"), std::string::npos);
  EXPECT_NE(text.find("<client>K\xc3\xb6ln \xe2\x82\xac</client>"), std::string::npos);
  if (!std::filesystem::exists("/usr/bin/xmllint")) GTEST_SKIP() << "xmllint is not installed (libxml2-utils)";
  const testing::ProcessResult lint = testing::RunProcess({"/usr/bin/xmllint", "--noout", dir.Path("test.xml")});
  EXPECT_EQ(lint.exitCode, 0) << lint.err;
}

TEST(XmlTags, TablesInOrder) {
  CStandardXMLTagSurfaceWave tags;
  const std::vector<std::string> all = tags.All();
  ASSERT_EQ(all.size(), 84u + 48u + 19u);
  EXPECT_EQ(all.front(), "English");
  EXPECT_EQ(all[83], "distance_post_end_odd");
  EXPECT_EQ(all[84], "TRUE");
  EXPECT_EQ(all.back(), "sw_hc_max_hoverv_freq");
  EXPECT_EQ(tags.Language(), "ENGLISH");
  EXPECT_EQ(tags.velocityModel.loveRayleighRatio, "vm_love_rayleigh_ratio");
  EXPECT_EQ(VelocityModelTags{}.layer, "vm_layer");
}

}  // namespace
}  // namespace zentrova
