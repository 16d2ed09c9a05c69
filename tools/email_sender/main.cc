// ZuveRadeRI.exe: the station's e-mail sender. Reads the sender settings,
// the recipient, the title and the body from the product key (product.ini
// in the configuration folder, as the station writes it) and sends one
// message with every file named on the command line attached.
//
// SMTP through libcurl: implicit TLS on port 465, otherwise STARTTLS, which
// is required whenever a password is set (credentials never travel in the
// clear); certificates are verified. Exit 0 only when the server accepted
// the message; otherwise one line with the reason on standard error.

#include <curl/curl.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "platform/key_value_store.h"
#include "platform/linux_file_system.h"
#include "platform/system_info.h"

namespace {

struct Mail {
  std::string server, from, to, user, password, title, body;
  long port = 587;
};

std::string Value(zentrova::KeyValueStore& store, const char* name) { return store.Get(name).value_or(""); }

size_t Quiet(char*, size_t size, size_t count, void*) { return size * count; }

int Send(const Mail& m, const std::vector<std::string>& files) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  CURL* curl = curl_easy_init();
  if (curl == nullptr) {
    std::cerr << "ZuveRadeRI.exe: cannot start the mail client\n";
    return 1;
  }
  const bool implicitTls = m.port == 465;
  const std::string url = (implicitTls ? "smtps://" : "smtp://") + m.server + ":" + std::to_string(m.port);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  // A login (a password is set) requires TLS; without one TLS is used
  // where the server offers it.
  const bool login = !m.password.empty();
  curl_easy_setopt(curl, CURLOPT_USE_SSL, login ? static_cast<long>(CURLUSESSL_ALL) : static_cast<long>(CURLUSESSL_TRY));
  if (login) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, m.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, m.password.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, ("<" + m.from + ">").c_str());
  curl_slist* rcpt = curl_slist_append(nullptr, ("<" + m.to + ">").c_str());
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, rcpt);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 300L);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Quiet);

  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, ("Subject: " + m.title).c_str());
  headers = curl_slist_append(headers, ("From: <" + m.from + ">").c_str());
  headers = curl_slist_append(headers, ("To: <" + m.to + ">").c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

  curl_mime* mime = curl_mime_init(curl);
  curl_mimepart* text = curl_mime_addpart(mime);
  curl_mime_data(text, m.body.c_str(), CURL_ZERO_TERMINATED);
  curl_mime_type(text, "text/plain; charset=utf-8");
  curl_mime_encoder(text, "quoted-printable");
  for (const std::string& path : files) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
      std::cerr << "ZuveRadeRI.exe: attachment not found, sent without it: " << path << "\n";
      continue;
    }
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_filedata(part, path.c_str());
    curl_mime_type(part, "application/octet-stream");
    curl_mime_encoder(part, "base64");
  }
  curl_easy_setopt(curl, CURLOPT_MIMEPOST, mime);
  const CURLcode code = curl_easy_perform(curl);
  curl_mime_free(mime);
  curl_slist_free_all(headers);
  curl_slist_free_all(rcpt);
  curl_easy_cleanup(curl);
  if (code != CURLE_OK) {
    std::cerr << "ZuveRadeRI.exe: not sent: error " << code << ": " << curl_easy_strerror(code) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  zentrova::LinuxFileSystem fs;
  zentrova::LinuxSystemInfo system;
  zentrova::IniFileStore product(fs, system.ConfigFolder() + "/product.ini", "Kalvane Applications");
  Mail m;
  m.server = Value(product, "SMTPServer");
  m.from = Value(product, "SenderEMailAddress");
  m.to = Value(product, "ReceiverEMailAddress");
  m.user = Value(product, "SMTPUsername");
  m.password = Value(product, "SMTPPassword");
  m.title = Value(product, "stMessaggeTitle");
  m.body = Value(product, "MessageToBeSent");
  const std::string port = Value(product, "iPortNumber");
  if (!port.empty()) m.port = std::strtol(port.c_str(), nullptr, 10);
  for (std::string* s : {&m.title, &m.from, &m.to}) {
    for (char& c : *s) {
      if (c == '\r' || c == '\n') c = ' ';  // one header line each
    }
  }
  if (m.server.empty() || m.to.empty() || m.from.empty()) {
    std::cerr << "ZuveRadeRI.exe: not sent: SMTPServer, SenderEMailAddress or ReceiverEMailAddress is not set\n";
    return 1;
  }
  return Send(m, std::vector<std::string>(argv + 1, argv + argc));
}
