#pragma once
// The standard geophysical XML document of the surface-wave 1D kind: built
// from the survey data into a DOM, saved as "test.xml" and posted to the
// geophysical database.
//
// Every value element is followed in its parent by a text node holding a
// single line feed; containers are not. Values: ints "%d", floats "%f",
// doubles "%lf", texts as they are. The text of the document puts CR LF
// after the processing instruction, the comment and the root element.

#include <string>

#include <pugixml.hpp>

#include "platform/file_system.h"
#include "records/seismic_record.h"
#include "surfacewave/surface_wave_result.h"
#include "surfacewave/xml_survey_data.h"

namespace zentrova {

constexpr const char* kStandardXmlFileName = "test.xml";

// Builds the document into an empty DOM document.
void BuildStandardXml(const XmlSurveyData& data, pugi::xml_document& document);
// The document's XML text (UTF-8).
std::string StandardXmlText(const pugi::xml_document& document);
std::string StandardXmlText(const XmlSurveyData& data);

// Fills the curve and the model from the result (setting its P velocities
// to twice the S velocities and its densities to 1500), the site position
// from the record, and saves the document as "test.xml" in `folder`,
// replacing an earlier one (a file that cannot be written is not
// reported). 1 when the result holds a pick or a layer, else 0.
int FillXmlFromResult(SurfaceWaveResult& result, const SeismicRecord& record, XmlSurveyData& data, FileSystem& fs,
                      const std::string& folder);

}  // namespace zentrova
