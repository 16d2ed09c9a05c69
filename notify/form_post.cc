#include "notify/form_post.h"

#include "platform/printf.h"

namespace zentrova {

std::string EncodeFormText(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_') {
      out.push_back(static_cast<char>(c));
    } else if (c == ' ') {
      out.push_back('+');
    } else {
      out += Printf("%%%02X", c);
    }
  }
  return out;
}

std::string FormBody(const FormFields& names, const FormFields& values) {
  std::string body;
  for (size_t i = 0; i < names.size(); ++i) {
    body += (i == 0 ? "" : "&") + EncodeFormText(names[i]) + "=" + EncodeFormText(values[i]);
  }
  return body;
}

std::string PostForm(HttpClient& http, const std::string& url, const FormFields& names, const FormFields& values) {
  const HttpResult r =
      http.Post(url, "application/x-www-form-urlencoded", FormBody(names, values), "HTTP Post Zentrova");
  if (r.ok) return r.body;
  std::string text = r.errorText.substr(0, 511);
  return Printf("Could not connect to a server. \r\nError : %d\r\n%s", r.errorCode, text.c_str());
}

std::string ConnectionTest(HttpClient& http, const std::string& url, const std::string& dateTime) {
  FormFields names = kFormNames;
  names[7] = "";
  const FormFields values = {"Test from Zentrova", "This is a connecting test from Zentrova", "12.6", "815", "D",
                             "21.3", dateTime, ""};
  return PostForm(http, url, names, values);
}

}  // namespace zentrova
