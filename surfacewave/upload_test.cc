#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/key_value_store.h"
#include "platform/linux_file_system.h"
#include "surfacewave/upload_commands.h"
#include "surfacewave/upload_queue.h"
#include "surfacewave/upload_requests.h"
#include "surfacewave/xml_document.h"
#include "testing/local_servers.h"
#include "testing/temp_folder.h"

namespace zentrova {
namespace {

using testing::LocalHttpServer;
using testing::TempFolder;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

UploadHosts LocalHosts(const LocalHttpServer& server) {
  UploadHosts h;
  h.local = "127.0.0.1:" + server.port;
  h.publicHost = "127.0.0.1:" + server.port;
  return h;
}

struct UploadFixture : ::testing::Test {
  TempFolder dir;
  TempFolder serverDir;
  LinuxFileSystem fs;
  CurlHttpClient http{2, 5};
  std::vector<std::string> logFile;
  std::function<void(const std::string&)> toLogFile = [this](const std::string& l) { logFile.push_back(l); };
};

// The success test: the token anywhere in the reply, in capitals, whatever
// the status; also when it crosses the first 1024 bytes of the reply.
TEST_F(UploadFixture, SuccessToken) {
  struct Case {
    std::string mode, answer;
    int expected;
  } cases[] = {
      {"", "file SUCCESSFULLY_UPLOADED as 1.sg2", 1},
      {"", "successfully_uploaded", 0},
      {"", "registered", 0},
      {"--fail", "SUCCESSFULLY_UPLOADED", 1},
      {"", std::string(1020, 'x') + "SUCCESSFULLY_UPLOADED" + std::string(1000, 'y'), 1},
  };
  dir.Write("1.sg2", "abc");
  for (const Case& c : cases) {
    TempFolder d;
    LocalHttpServer server(d, c.mode, "", c.answer);
    ASSERT_FALSE(server.port.empty());
    EXPECT_EQ(UploadWaveformFile(dir.Path("1.sg2"), 0, LocalHosts(server), fs, http, toLogFile), c.expected)
        << c.answer.substr(0, 40);
  }
  EXPECT_TRUE(logFile.empty());
}

// The file goes byte for byte to the local script with its size in the query.
TEST_F(UploadFixture, LocalRequest) {
  LocalHttpServer server(serverDir, "", "", "SUCCESSFULLY_UPLOADED");
  const std::string bytes = std::string("\x00\x01\xff\r\n&=%", 8) + "record";
  dir.Write("2.sg2", bytes);
  ASSERT_EQ(UploadWaveformFile(dir.Path("2.sg2"), 0, LocalHosts(server), fs, http, toLogFile), 1);
  const std::string record = server.Record();
  EXPECT_NE(record.find("PATH /Kalvane/orbel_data/receive_orbel_file.php?file_size=14\n"), std::string::npos) << record;
  EXPECT_NE(record.find("HEADER Content-type: application/x-www-form-urlencoded\n"), std::string::npos);
  EXPECT_NE(record.find("HEADER User-Agent: HTTP Post Test App\n"), std::string::npos);
  EXPECT_NE(record.find("BODY " + bytes + "\n"), std::string::npos);
}

TEST_F(UploadFixture, EmptyFile) {
  LocalHttpServer server(serverDir, "", "", "SUCCESSFULLY_UPLOADED");
  dir.Write("empty.sg2", "");
  EXPECT_EQ(UploadWaveformFile(dir.Path("empty.sg2"), 0, LocalHosts(server), fs, http, toLogFile), 1);
  const std::string record = server.Record();
  EXPECT_NE(record.find("PATH /Kalvane/orbel_data/receive_orbel_file.php?file_size=0\n"), std::string::npos);
  EXPECT_NE(record.find("BODY \n"), std::string::npos);
}

// The public server is reached over TLS: a server that speaks plain HTTP
// is a TLS failure, told in the log file, and nothing counts as uploaded.
TEST_F(UploadFixture, PublicServerOverTls) {
  LocalHttpServer server(serverDir, "", "", "SUCCESSFULLY_UPLOADED");
  dir.Write("3.sg2", "abc");
  EXPECT_EQ(UploadWaveformFile(dir.Path("3.sg2"), 1, LocalHosts(server), fs, http, toLogFile), 0);
  ASSERT_EQ(logFile.size(), 1u);
  EXPECT_EQ(logFile[0].rfind("Internet exception.  Error : ", 0), 0u) << logFile[0];
  EXPECT_NE(logFile[0].find('\t'), std::string::npos);
  EXPECT_EQ(WaveformUploadUrl(LocalHosts(server), 1, 7),
            "https://127.0.0.1:" + server.port + "/orbel_data/receive_orbel_file.php?file_size=7");
}

TEST_F(UploadFixture, NothingSentWithoutFileOrHost) {
  LocalHttpServer server(serverDir, "", "", "SUCCESSFULLY_UPLOADED");
  EXPECT_EQ(UploadWaveformFile(dir.Path("missing.sg2"), 0, LocalHosts(server), fs, http, toLogFile), 0);
  dir.Write("4.sg2", "abc");
  EXPECT_EQ(UploadWaveformFile(dir.Path("4.sg2"), 1, UploadHosts{}, fs, http, toLogFile), 0);
  EXPECT_EQ(server.Record(), "");
  EXPECT_TRUE(logFile.empty());
}

TEST(LastReplyPiece, PiecesOf1024) {
  const std::string a(1024, 'a'), b(476, 'b');
  EXPECT_EQ(LastReplyPiece(a + b), b);
  EXPECT_EQ(LastReplyPiece(b), b);
  EXPECT_EQ(LastReplyPiece(""), "");
  // A reply of whole pieces ends with an empty read; its last piece is kept.
  EXPECT_EQ(LastReplyPiece(a + std::string(1024, 'c')), std::string(1024, 'c'));
}

TEST_F(UploadFixture, RegistrationReplyAndError) {
  const std::string reply = std::string(1024, 'a') + std::string(476, 'b');
  LocalHttpServer server(serverDir, "", "", reply);
  XmlSurveyData data;
  DatabaseServer db;
  db.strMonitorUrl = server.Url("/GeophysicalDatabase/registration_xml_monitor.php");
  EXPECT_EQ(RegisterOnDatabase(db, data, http), std::string(476, 'b'));
  const std::string record = server.Record();
  EXPECT_NE(record.find("PATH /GeophysicalDatabase/registration_xml_monitor.php\n"), std::string::npos);
  EXPECT_NE(record.find("BODY " + StandardXmlText(data)), std::string::npos);

  db.strMonitorUrl = "http://127.0.0.1:1/registration_xml_monitor.php";
  const std::string error = RegisterOnDatabase(db, data, http);
  EXPECT_EQ(error.rfind("例外が発生しました。\r\nエラー: 7\r\n", 0), 0u) << error;
}

TEST(DatabaseServer, UrlsFromHostAndSettings) {
  MemoryStore profile, product;
  Settings settings(profile, product);
  const DatabaseServer none(settings, "");
  EXPECT_EQ(none.strMonitorUrl, "");
  const DatabaseServer plain(settings, "db.example");
  EXPECT_EQ(plain.strFindDatabaseUrl, "http://db.example/GeophysicalDatabase/find_database.php");
  EXPECT_EQ(plain.strRegistrationUrl, "http://db.example/GeophysicalDatabase/registration_xml.php");
  EXPECT_EQ(plain.strUsersUrl, "http://db.example/GeophysicalDatabase/get_users.php");
  EXPECT_EQ(plain.strMonitorUrl, "http://db.example/GeophysicalDatabase/registration_xml_monitor.php");
  profile.values["sMonitorURL"] = "http://other/monitor.php";
  profile.values["sVelocityModelURL"] = "http://other/find.php";
  profile.values["sRegistrationModelURL"] = "http://other/reg.php";
  const DatabaseServer set(settings, "");
  EXPECT_EQ(set.strMonitorUrl, "http://other/monitor.php");
  EXPECT_EQ(set.strFindDatabaseUrl, "http://other/find.php");
  EXPECT_EQ(set.strRegistrationUrl, "http://other/reg.php");
  EXPECT_EQ(set.strUsersUrl, "");
}

TEST(UploadCommands, TogglesLinesAndSettings) {
  LinuxFileSystem fs;
  MemoryStore profile, product;
  Settings settings(profile, product);
  profile.values["bDatabaseUploadOrbel"] = "1";
  profile.values["bUseLocalServer"] = "1";
  profile.values["sDatabaseServerHost"] = "db.example";
  ActivityLog log(fs);
  UploadSwitches s(settings);
  EXPECT_EQ(s.bDatabaseUploadOrbel, 0);  // not read back
  EXPECT_EQ(s.bUseLocalServer, 1);
  EXPECT_EQ(s.hosts.local, "localhost");
  int refreshed = 0;
  std::vector<int> sent;
  OnUploadWaveformFile(s, settings, log, [&] { ++refreshed; });
  EXPECT_TRUE(UploadCommandChecked(s, kCommandUploadWaveformFile));
  OnUploadWaveformFile(s, settings, log, [&] { ++refreshed; });
  EXPECT_FALSE(UploadCommandChecked(s, kCommandUploadWaveformFile));
  EXPECT_EQ(refreshed, 2);
  EXPECT_EQ(profile.values["bDatabaseUploadOrbel"], "0");
  OnUseLocalServer(s, settings);
  EXPECT_EQ(profile.values["bUseLocalServer"], "0");
  EXPECT_FALSE(UploadCommandChecked(s, kCommandUseLocalServer));
  EXPECT_FALSE(s.databaseServer);
  OnUploadToDatabase(s, settings, log, [&](int c) { sent.push_back(c); });
  ASSERT_TRUE(s.databaseServer);
  const DatabaseServer* first = s.databaseServer.get();
  EXPECT_EQ(first->strMonitorUrl, "http://db.example/GeophysicalDatabase/registration_xml_monitor.php");
  EXPECT_TRUE(UploadCommandChecked(s, kCommandUploadToDatabase));
  OnUploadToDatabase(s, settings, log, [&](int c) { sent.push_back(c); });
  OnUploadToDatabase(s, settings, log, [&](int c) { sent.push_back(c); });
  EXPECT_EQ(s.databaseServer.get(), first);
  EXPECT_EQ(sent, (std::vector<int>{kCommandRefreshButtons, kCommandRefreshButtons, kCommandRefreshButtons}));
  EXPECT_EQ(profile.values.count("bDatabaseUpload"), 0u);
  std::vector<std::string> lines;
  for (int i = 0; i < log.Count(); ++i) lines.push_back(log.GetAt(i));
  EXPECT_EQ(lines, (std::vector<std::string>{"File upload is on", "File upload is off", "Uploading data started",
                                             "Uploading data stopped", "Uploading data started"}));
}

struct QueueFixture : UploadFixture {
  QueueFixture() { log.SetLogFileNames(0, dir.path()); }
  std::vector<std::string> Pane() {
    std::vector<std::string> lines;
    for (int i = 0; i < log.Count(); ++i) lines.push_back(log.GetAt(i));
    return lines;
  }
  ActivityLog log{fs};
};

// A server that never answers does not hold whoever queues: the uploads
// go on in order on the queue's thread, each told when it ends.
TEST_F(QueueFixture, HangingServerHoldsNoOne) {
  TempFolder hangDir;
  LocalHttpServer hanging(hangDir, "--hang");
  LocalHttpServer good(serverDir, "", "", "SUCCESSFULLY_UPLOADED");
  dir.Write("a.sg2", "a");
  dir.Write("b.sg2", "b");
  UploadHosts hosts;
  hosts.local = "127.0.0.1:" + hanging.port;
  hosts.publicHost = "127.0.0.1:" + good.port;  // reached over TLS: fails
  CurlHttpClient quick(1, 2);
  {
    UploadQueue queue(quick, fs, log, hosts);
    queue.UploadFile(dir.Path("a.sg2"), 0);
    queue.UploadFile(dir.Path("b.sg2"), 1);
    EXPECT_TRUE(Pane().empty());  // the first is still waiting for its answer
    ASSERT_TRUE(queue.WaitIdle(30000));
  }
  EXPECT_EQ(Pane(), (std::vector<std::string>{"Unable to upload : " + dir.Path("a.sg2"),
                                              "Unable to upload : " + dir.Path("b.sg2")}));
  const std::string file = ReadFile(log.LogFile());
  EXPECT_NE(file.find("Internet exception.  Error : 28\t"), std::string::npos) << file;
  EXPECT_NE(file.find("Unable to upload : " + dir.Path("b.sg2") + "\r\n"), std::string::npos);
}

TEST_F(QueueFixture, SuccessAndRegistration) {
  LocalHttpServer good(serverDir, "", "", "SUCCESSFULLY_UPLOADED");
  dir.Write("c.sg2", "c");
  DatabaseServer db;
  db.strMonitorUrl = good.Url("/GeophysicalDatabase/registration_xml_monitor.php");
  {
    UploadQueue queue(http, fs, log, LocalHosts(good));
    queue.UploadFile(dir.Path("c.sg2"), 0);
    queue.Register(db, "<site/>");
    ASSERT_TRUE(queue.WaitIdle(30000));
  }
  EXPECT_EQ(Pane(), (std::vector<std::string>{"Successfully uploaded : " + dir.Path("c.sg2"), "SUCCESSFULLY_UPLOADED"}));
  const std::string file = ReadFile(log.LogFile());
  EXPECT_EQ(file, "Successfully uploaded : " + dir.Path("c.sg2") + "\r\n");  // the reply goes to the pane only
}

// Without a host nothing is tried; the first upload of each server says why.
TEST_F(QueueFixture, NoHostToldOnce) {
  dir.Write("d.sg2", "d");
  UploadHosts hosts;
  hosts.local.clear();
  {
    UploadQueue queue(http, fs, log, hosts);
    queue.UploadFile(dir.Path("d.sg2"), 1);
    queue.UploadFile(dir.Path("d.sg2"), 1);
    queue.Register(DatabaseServer{}, "<site/>");
    queue.Register(DatabaseServer{}, "<site/>");
    ASSERT_TRUE(queue.WaitIdle(30000));
  }
  const std::string unable = "Unable to upload : " + dir.Path("d.sg2");
  EXPECT_EQ(Pane(), (std::vector<std::string>{
                        "The public upload server is not set (\"sPublicServerHost\"): files are not uploaded there.",
                        unable, unable,
                        "The database server is not set (\"sDatabaseServerHost\" or \"sMonitorURL\"): nothing is "
                        "registered."}));
}

}  // namespace
}  // namespace zentrova
