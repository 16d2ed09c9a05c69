// ZuveRadeRI.exe: the station's e-mail sender. Reads the sender settings,
// the recipient, the title and the body from the product key (product.ini
// in the configuration folder, as the station writes it) and sends one
// message with every file named on the command line attached.
//
// SMTP through libcurl (smtp and smtps only): implicit TLS on port 465,
// otherwise STARTTLS, which is required whenever a password is set
// (credentials never travel in the clear); certificates are verified. The
// password is read from the product key only and never printed.
//
// Exit 0 only when the server accepted the message; 1 when it was not sent
// (one line with the reason on standard error); 2 for bad usage.

#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "platform/key_value_store.h"
#include "platform/linux_file_system.h"
#include "platform/system_info.h"
#include "tools/email_sender/mail_text.h"

namespace {

const char* kUsage =
    "usage: ZuveRadeRI.exe [FILE...]\n"
    "Sends one e-mail with the FILEs attached. The sender, the server and the\n"
    "recipient (SMTPServer, iPortNumber, SenderEMailAddress, SMTPUsername,\n"
    "SMTPPassword, ReceiverEMailAddress) and the title and body\n"
    "(stMessaggeTitle, MessageToBeSent) are read from product.ini in the\n"
    "configuration folder ($ZENTROVA_CONFIG_DIR, else\n"
    "$XDG_CONFIG_HOME/Kalvane Applications). Port 465: TLS; any other port:\n"
    "STARTTLS, required when a password is set.\n"
    "Exit status: 0 sent, 1 not sent (the reason on standard error), 2 bad usage.\n";

struct Mail {
  std::string server, from, to, user, password, title, body;
  long port = 587;
};

std::string Value(zentrova::KeyValueStore& store, const char* name) { return store.Get(name).value_or(""); }

size_t Quiet(char*, size_t size, size_t count, void*) { return size * count; }

int NotSent(const std::string& why) {
  std::cerr << "ZuveRadeRI.exe: not sent: " << why << "\n";
  return 1;
}

int Send(const Mail& m, const std::vector<std::string>& files) {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return NotSent("cannot start the mail client");
  const bool implicitTls = m.port == 465;
  const std::string url = (implicitTls ? "smtps://" : "smtp://") + m.server + ":" + std::to_string(m.port);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");  // mail only, whatever the settings say
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "smtp,smtps");
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

  const int64_t now = static_cast<int64_t>(std::time(nullptr));
  std::random_device device;
  const uint64_t random = (static_cast<uint64_t>(device()) << 32) ^ device();
  curl_slist* headers = nullptr;
  headers = curl_slist_append(headers, ("Date: " + zentrova::mail::DateHeader(now)).c_str());
  headers = curl_slist_append(
      headers, ("Message-ID: " + zentrova::mail::MessageId(now, static_cast<long>(::getpid()), random, m.from)).c_str());
  headers = curl_slist_append(headers, ("Subject: " + zentrova::mail::EncodeHeaderText(m.title)).c_str());
  headers = curl_slist_append(headers, ("From: <" + m.from + ">").c_str());
  headers = curl_slist_append(headers, ("To: <" + m.to + ">").c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

  curl_mime* mime = curl_mime_init(curl);
  curl_mimepart* text = curl_mime_addpart(mime);
  const std::string body = zentrova::mail::CrLfLines(m.body);
  curl_mime_data(text, body.data(), body.size());
  const bool plain = zentrova::mail::SevenBitLines(body);
  curl_mime_type(text, plain ? "text/plain; charset=us-ascii" : "text/plain; charset=utf-8");
  curl_mime_encoder(text, plain ? "7bit" : "quoted-printable");
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
  if (code != CURLE_OK) return NotSent("error " + std::to_string(code) + ": " + curl_easy_strerror(code));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  bool options = true;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (options && a == "--") {
      options = false;
    } else if (options && (a == "--help" || a == "-h")) {
      std::cout << kUsage;
      return 0;
    } else if (options && a.size() > 1 && a[0] == '-') {
      std::cerr << "ZuveRadeRI.exe: unknown option " << a << "\n" << kUsage;
      return 2;
    } else if (!a.empty()) {  // an empty argument names no file
      files.push_back(a);
    }
  }

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
  for (char& c : m.title) {
    if (c == '\r' || c == '\n') c = ' ';  // one header line
  }
  if (m.server.empty() || m.to.empty() || m.from.empty()) {
    return NotSent("SMTPServer, SenderEMailAddress or ReceiverEMailAddress is not set");
  }
  const std::string port = Value(product, "iPortNumber");
  if (!port.empty()) {
    if (const std::string why = zentrova::mail::PortProblem(port, &m.port); !why.empty()) return NotSent(why);
  }
  if (const std::string why = zentrova::mail::HostProblem(m.server); !why.empty()) return NotSent(why);
  if (const std::string why = zentrova::mail::AddressProblem("SenderEMailAddress", m.from); !why.empty()) {
    return NotSent(why);
  }
  if (const std::string why = zentrova::mail::AddressProblem("ReceiverEMailAddress", m.to); !why.empty()) {
    return NotSent(why);
  }
  return Send(m, files);
}
