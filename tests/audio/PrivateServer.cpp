#include "tests/audio/PrivateServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>
#include <csignal>

namespace seaherald::soundtest {
namespace {

// Runs pactl against the server; true when it succeeds.
bool Pactl(const QString& address, const QStringList& arguments) {
  QProcess pactl;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("PULSE_SERVER"), address);
  pactl.setProcessEnvironment(environment);
  pactl.start(QStringLiteral("pactl"), arguments);
  return pactl.waitForFinished(2000) && pactl.exitStatus() == QProcess::NormalExit &&
         pactl.exitCode() == 0;
}

}  // namespace

PrivateServer::PrivateServer() = default;

PrivateServer::~PrivateServer() {
  Kill();
}

std::optional<std::string> PrivateServer::Problem() {
  for (const char* program : {"pulseaudio", "pactl"}) {
    if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
      return std::string(program) + " is not installed";
    }
  }
  return std::nullopt;
}

std::string PrivateServer::Address() const {
  return "unix:" + folder_.filePath(QStringLiteral("native")).toStdString();
}

bool PrivateServer::Start(bool withInput) {
  if (!folder_.isValid()) return false;
  const QString dir = folder_.path();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
  environment.insert(QStringLiteral("HOME"), dir);
  environment.remove(QStringLiteral("PULSE_SERVER"));
  server_.setProcessEnvironment(environment);
  server_.setStandardInputFile(QProcess::nullDevice());
  server_.setStandardOutputFile(QProcess::nullDevice());
  server_.setStandardErrorFile(QProcess::nullDevice());
  server_.start(
      QStringLiteral("pulseaudio"),
      {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--use-pid-file=no"),
       QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
       QStringLiteral("--realtime=no"), QStringLiteral("--high-priority=no"),
       QStringLiteral("--log-target=file:") + dir + QStringLiteral("/pulseaudio.log"),
       QStringLiteral("--log-level=info"), QStringLiteral("-L"),
       QStringLiteral("module-native-protocol-unix socket=") + dir +
           QStringLiteral("/native auth-anonymous=1"),
       QStringLiteral("-L"),
       QStringLiteral("module-null-sink sink_name=nullsink rate=44100 channels=2 "
                      "sink_properties=device.description=NullSink")});
  if (!server_.waitForStarted(5000)) return false;
  const QString address = QString::fromStdString(Address());
  QDeadlineTimer deadline(5000);
  while (!Pactl(address, {QStringLiteral("info")})) {
    if (deadline.hasExpired() || server_.state() == QProcess::NotRunning) return false;
    QThread::msleep(100);
  }
  return Pactl(address, {QStringLiteral("set-default-sink"), QStringLiteral("nullsink")}) &&
         (!withInput || AddInput());
}

bool PrivateServer::AddInput() {
  const QString address = QString::fromStdString(Address());
  return Pactl(address,
               {QStringLiteral("load-module"), QStringLiteral("module-remap-source"),
                QStringLiteral("source_name=nullmon"), QStringLiteral("master=nullsink.monitor"),
                QStringLiteral("source_properties=device.description=NullMonitor")}) &&
         Pactl(address, {QStringLiteral("set-default-source"), QStringLiteral("nullmon")});
}

void PrivateServer::Stall() {
  if (server_.state() == QProcess::Running)
    ::kill(static_cast<pid_t>(server_.processId()), SIGSTOP);
}

void PrivateServer::Resume() {
  if (server_.state() == QProcess::Running)
    ::kill(static_cast<pid_t>(server_.processId()), SIGCONT);
}

void PrivateServer::Kill() {
  if (server_.state() == QProcess::NotRunning) return;
  Resume();
  server_.kill();
  server_.waitForFinished(5000);
}

std::string PrivateServer::State() {
  std::string state;
  if (server_.state() == QProcess::Running) {
    state = "the private server is running";
  } else {
    server_.waitForFinished(0);
    state = "the private server has ended (" +
            std::string(server_.exitStatus() == QProcess::CrashExit ? "signal " : "exit code ") +
            std::to_string(server_.exitCode()) + ")";
  }
  QFile log(folder_.filePath(QStringLiteral("pulseaudio.log")));
  if (!log.open(QIODevice::ReadOnly)) return state + "; no log";
  std::deque<std::string> tail;
  while (!log.atEnd()) {
    tail.push_back(log.readLine().trimmed().toStdString());
    if (tail.size() > 15) tail.pop_front();
  }
  state += "; the end of its log:";
  for (const std::string& line : tail)
    state += "\n  " + line;
  return state;
}

}  // namespace seaherald::soundtest
