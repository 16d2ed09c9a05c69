#pragma once
// Texts from the settings as the XML document may carry them. The document
// says it is UTF-8, and XML 1.0 admits no control character but tab, line
// feed and carriage return: a value that is not valid UTF-8 (typed on an
// older station in Latin-1, "Caf\xe9") is read as Latin-1 and converted,
// and control characters are dropped, so the document always parses.

#include <string>
#include <string_view>

namespace zentrova {

bool IsValidUtf8(std::string_view text);
std::string XmlSafeText(std::string_view text);

}  // namespace zentrova
