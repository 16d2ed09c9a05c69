#pragma once
// The report form posted to the web server: eight fields in a fixed order,
// URL form encoded.

#include <array>
#include <string>

#include "platform/http_client.h"

namespace zentrova {

using FormFields = std::array<std::string, 8>;

inline const FormFields kFormNames = {"pc_name",   "message",    "battery_voltage", "file_id",
                                      "drive_name", "disk_space", "date_time",       "version"};

// Letters, digits and "-._" as they are, a blank as "+", every other byte
// as "%XX" (upper-case hexadecimal).
std::string EncodeFormText(const std::string& text);
// "name=value" pairs joined by "&", all eight, empty ones too.
std::string FormBody(const FormFields& names, const FormFields& values);

// Posts the form; the server's answer, or "Could not connect to a server.
// \r\nError : %d\r\n%s" with the client's error number and text.
std::string PostForm(HttpClient& http, const std::string& url, const FormFields& names, const FormFields& values);

// The "Connect to server" test: the fixed test form, posted; its result.
std::string ConnectionTest(HttpClient& http, const std::string& url, const std::string& dateTime);

}  // namespace zentrova
