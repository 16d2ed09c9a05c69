// zentrova: the station in a desktop window. Takes the arguments of
// zentrova-station (--config-dir, --start, --run-for, ...); prints every
// line of the activity log as it is added. SIGTERM, SIGINT and a hang-up
// end it as a confirmed exit does (the log line, the closing mail).

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <iostream>

#include "app/shell/desktop_station.h"
#include "app/shell/standard_dialogs.h"
#include "platform/instance_lock.h"
#include "station/station_arguments.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

void OnBrokenPipe(int) {}

// While the application object connects to the display: the platform's
// warnings are held back, and a fatal failure (no display, or one that does
// not answer) ends the program with one line and status 2 instead of an
// abort with a core.
void OnStartupMessage(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtFatalMsg) return;
  const char* display = ::getenv("DISPLAY");
  std::cerr << "zentrova: cannot open the display"
            << (display && *display ? std::string(" \"") + display + "\"" : std::string(" (DISPLAY is not set)"))
            << "; zentrova-station runs the station without a window" << std::endl;
  ::_exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  zentrova::LinuxSystemInfo system;
  const zentrova::StationArguments arguments = zentrova::StationArgumentsOf(argc, argv, system);
  if (arguments.exitCode >= 0) {
    (arguments.exitCode == 0 ? std::cout : std::cerr) << arguments.message;
    return arguments.exitCode;
  }
  if (!arguments.message.empty()) std::cout << arguments.message << std::endl;
  // Before the display: a second station on the folder ends at once, window or not.
  const zentrova::InstanceLock::Attempt lock = zentrova::InstanceLock::Take(arguments.options.configDir);
  if (lock.heldByAnother) {
    std::cerr << zentrova::AnotherInstanceLine("zentrova", arguments.options.configDir, lock.holderPid) << std::endl;
    return 2;
  }
  if (!lock.problem.empty()) std::cerr << "zentrova: " << lock.problem << "; a second station on this folder is not kept out" << std::endl;
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  const QtMessageHandler previousHandler = qInstallMessageHandler(OnStartupMessage);
  QApplication app(qtArgc, qtArgv);
  qInstallMessageHandler(previousHandler);
  QApplication::setApplicationName(QStringLiteral("Zentrova"));
  QApplication::setDesktopFileName(QStringLiteral("zentrova"));
  // The message boxes find the main frame as the application's active window.
  zentrova::DesktopStation station(arguments.options, zentrova::StandardDialogs(nullptr), std::cout);

  // A signal is handed to the GUI thread through a socket pair.
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) == 0) {
    struct sigaction sa = {};
    sa.sa_handler = OnSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    struct sigaction hup = {};
    if (sigaction(SIGHUP, nullptr, &hup) == 0 && hup.sa_handler != SIG_IGN) sigaction(SIGHUP, &sa, nullptr);
  }
  struct sigaction pipe = {};
  pipe.sa_handler = OnBrokenPipe;
  sigaction(SIGPIPE, &pipe, nullptr);
  QSocketNotifier signalNotifier(g_signalPipe[0], QSocketNotifier::Read);
  QObject::connect(&signalNotifier, &QSocketNotifier::activated, &station.frame(), [&station] {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(g_signalPipe[0], &byte, 1);
    station.frame().ExitConfirmed();
  });

  station.Start();
  const int status = QApplication::exec();
  std::cout << "zentrova: stopped" << std::endl;
  return status;
}
