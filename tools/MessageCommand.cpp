#include "tools/MessageCommand.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

#include "msglog/Catalogue.h"
#include "platform/CodePage.h"
#include "platform/ShowableUtf8.h"
#include "relay/MessageJson.h"
#include "relay/ReceptionTime.h"

extern char** environ;

namespace seaherald::decodetool {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollStep = std::chrono::milliseconds(20);
constexpr int kCannotStart = 127;

std::string TextWithNewlines(const std::string& body) {
  std::string text;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') continue;
    text += body[i];
  }
  return text;
}

// Everything the child needs, made before fork so that the child only calls what is safe there.
struct Launch {
  std::vector<std::string> words;
  std::vector<std::string> environment;
  std::string input;
  std::string label;  // the header, for reports
};

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings)
    pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Writes the input without ever blocking past the deadline; a command that does not read its
// input, or has ended, simply gets less of it.
void FeedInput(int fd, const std::string& input, Clock::time_point deadline) {
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  std::size_t written = 0;
  while (written < input.size()) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;
    pollfd ready{fd, POLLOUT, 0};
    if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = write(fd, input.data() + written, input.size() - written);
    if (n < 0 && errno != EAGAIN && errno != EINTR) break;  // EPIPE: the command has gone
    if (n > 0) written += static_cast<std::size_t>(n);
  }
  close(fd);
}

// The outcome as a report, empty for a command that ended with status 0.
std::string Outcome(int status, bool timedOut, const Launch& launch, int seconds) {
  const std::string what = "--on-message for " + launch.label + ": ";
  if (timedOut) return what + "still running after " + std::to_string(seconds) + " s; stopped";
  if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotStart)
    return what + "'" + launch.words.front() + "' could not be started (or exited with 127)";
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
    return what + "the command exited with status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status))
    return what + "the command was ended by signal " + std::to_string(WTERMSIG(status));
  return {};
}

void RunOnce(Launch launch, int seconds, const std::function<void(const std::string&)>& report) {
  // A write to a command that has gone must not end the program: SIGPIPE stays blocked in this
  // thread and the write fails with EPIPE instead.
  sigset_t pipeSignal;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    report("--on-message for " + launch.label + ": no pipe: " + std::strerror(errno));
    return;
  }
  std::vector<char*> argv = Pointers(launch.words);
  std::vector<char*> envp = Pointers(launch.environment);
  const pid_t pid = fork();
  if (pid == 0) {
    sigset_t none;
    sigemptyset(&none);
    pthread_sigmask(SIG_SETMASK, &none, nullptr);
    setpgid(0, 0);
    dup2(fds[0], STDIN_FILENO);
    // The tool's standard output carries lines, JSON or NRX: the command's output goes beside
    // the reports instead.
    dup2(STDERR_FILENO, STDOUT_FILENO);
    // Nothing else of the tool's: the broker connection, opened without close-on-exec by its
    // library, would otherwise live on in whatever the command leaves running.
    close_range(3, ~0U, 0);
    execvpe(argv[0], argv.data(), envp.data());
    _exit(kCannotStart);
  }
  close(fds[0]);
  if (pid < 0) {
    close(fds[1]);
    report("--on-message for " + launch.label + ": cannot start: " + std::strerror(errno));
    return;
  }
  setpgid(pid, pid);  // also here, so that the kill below finds the group whichever runs first
  const auto deadline = Clock::now() + std::chrono::seconds(seconds);
  FeedInput(fds[1], launch.input, deadline);
  int status = 0;
  bool timedOut = true;
  while (Clock::now() < deadline) {
    if (waitpid(pid, &status, WNOHANG) == pid) {
      timedOut = false;
      break;
    }
    std::this_thread::sleep_for(kPollStep);
  }
  if (timedOut) {
    kill(-pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  if (std::string problem = Outcome(status, timedOut, launch, seconds); !problem.empty())
    report(problem);
}

bool RunsFor(FilingOutcome outcome) {
  // A copy kept because the stored one is better, or one dropped for its errors, is not news; one
  // the log folder could not take is, or a full disk would silence the alarm the command gives.
  return WasFiled(outcome) || outcome == FilingOutcome::kNotFiling ||
         outcome == FilingOutcome::kWriteFailed;
}

}  // namespace

std::optional<std::vector<std::string>> SplitCommandWords(std::string_view command) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (const char c : command) {
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
      } else {
        word += c;
      }
    } else if (c == '\'' || c == '"') {
      quote = c;
      inWord = true;
    } else if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quote != 0) return std::nullopt;
  if (inWord) words.push_back(std::move(word));
  if (words.empty()) return std::nullopt;
  return words;
}

std::vector<std::string> MessageEnvironment(const CompletedMessage& message) {
  const CodePageConverter converter;
  const auto utf8 = [&converter](const std::string& sjis) { return ShowableUtf8(converter, sjis); };
  const int lang = message.lang;
  const std::string b1(Catalogue::LetterB1(lang, message.header));
  const std::string b2(Catalogue::LetterB2(lang, message.header));
  const int nameLang = lang;  // English names for the English service, Japanese for the other
  const std::string stationName =
      !message.stationName.empty()
          ? message.stationName
          : Catalogue::BaseName(nameLang, Catalogue::BaseOfLetter(lang, b1));
  std::vector<std::string> variables{
      "SEAHERALD_HEADER=" + utf8(message.header),
      "SEAHERALD_STATION=" + utf8(b1),
      "SEAHERALD_STATION_NAME=" + utf8(stationName),
      "SEAHERALD_TYPE=" + utf8(b2),
      "SEAHERALD_TYPE_NAME=" +
          utf8(Catalogue::TypeName(nameLang, Catalogue::TypeOfLetter(lang, b2))),
      "SEAHERALD_LANGUAGE=" + std::string(lang == 0 ? "en" : "ja"),
      "SEAHERALD_ALARM=" + std::string(message.alarm ? "1" : "0"),
      "SEAHERALD_RECEIVED=" + Iso8601(ZoneLocalTime(message.received)),
      "SEAHERALD_FILING=" + std::string(FilingWord(message.outcome))};
  // Only with two receivers: which one heard it.
  if (!message.channel.empty()) variables.push_back("SEAHERALD_CHANNEL=" + message.channel);
  return variables;
}

MessageCommand::MessageCommand(CommandSettings settings,
                               std::function<void(const std::string&)> report)
    : settings_(std::move(settings)), report_(std::move(report)) {
  if (settings_.shell) {
    words_ = {"/bin/sh", "-c", settings_.command};
  } else {
    words_ =
        SplitCommandWords(settings_.command).value_or(std::vector<std::string>{settings_.command});
  }
}

MessageCommand::~MessageCommand() {
  for (Run& run : runs_)
    run.thread.join();
}

void MessageCommand::JoinFinished() {
  for (auto it = runs_.begin(); it != runs_.end();) {
    if (!it->done->load()) {
      ++it;
      continue;
    }
    it->thread.join();
    it = runs_.erase(it);
  }
}

void MessageCommand::MessageCompleted(const CompletedMessage& message) {
  JoinFinished();
  if (!RunsFor(message.outcome)) return;
  Launch launch;
  launch.words = words_;
  // The program's own environment without any SEAHERALD_* left from elsewhere, then the message's.
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (std::strncmp(*variable, "SEAHERALD_", 10) != 0) launch.environment.emplace_back(*variable);
  }
  for (std::string& variable : MessageEnvironment(message))
    launch.environment.push_back(std::move(variable));
  const CodePageConverter converter;
  launch.input = TextWithNewlines(ShowableUtf8(converter, message.body));
  launch.label = ShowableUtf8(converter, message.header);
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread thread(
      [launch = std::move(launch), seconds = settings_.seconds, report = report_, done]() mutable {
        RunOnce(std::move(launch), seconds, report);
        done->store(true);
      });
  runs_.push_back({std::move(thread), std::move(done)});
}

}  // namespace seaherald::decodetool
