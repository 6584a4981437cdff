#include "tests/export/devtools_print.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <vector>

#include "tests/export/export_test_support.h"

extern char** environ;

namespace qrsmith::testing {

namespace {

// One DevTools session over --remote-debugging-pipe: Chromium reads commands
// on its descriptor 3 and writes answers and events on 4, each message a JSON
// text ended by a zero byte.
class DevToolsPipe {
 public:
  explicit DevToolsPipe(const std::filesystem::path& profile) {
    int in[2], out[2];
    if (::pipe(in) != 0) return;
    if (::pipe(out) != 0) {
      ::close(in[0]);
      ::close(in[1]);
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 3);
    posix_spawn_file_actions_adddup2(&actions, out[1], 4);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string dataDir = "--user-data-dir=" + profile.string();
    std::vector<const char*> argv = {"chromium",
                                     "--headless",
                                     "--no-sandbox",
                                     "--disable-gpu",
                                     "--disable-background-networking",
                                     "--disable-component-update",
                                     "--disable-sync",
                                     "--no-first-run",
                                     "--remote-debugging-pipe",
                                     dataDir.c_str(),
                                     nullptr};
    if (::posix_spawnp(&pid_, argv[0], &actions, nullptr, const_cast<char**>(argv.data()),
                       environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    toBrowser_ = in[1];
    fromBrowser_ = out[0];
  }
  ~DevToolsPipe() {
    ::close(toBrowser_);
    ::close(fromBrowser_);
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  DevToolsPipe(const DevToolsPipe&) = delete;
  DevToolsPipe& operator=(const DevToolsPipe&) = delete;

  bool Started() const { return pid_ > 0; }

  // Sends a command and returns its answer (empty on failure or time-out).
  std::string Call(const std::string& method, const std::string& params = "{}",
                   const std::string& session = "") {
    const int id = ++lastId_;
    std::string message =
        "{\"id\":" + std::to_string(id) + ",\"method\":\"" + method + "\",\"params\":" + params;
    if (!session.empty()) message += ",\"sessionId\":\"" + session + "\"";
    message += '}';
    message.push_back('\0');
    if (::write(toBrowser_, message.data(), message.size()) !=
        static_cast<ssize_t>(message.size())) {
      return {};
    }
    return Await("{\"id\":" + std::to_string(id) + ",");
  }

  // The next message that contains `marker`; earlier ones are dropped.
  std::string Await(const std::string& marker) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
      for (std::size_t end; (end = buffer_.find('\0')) != std::string::npos;) {
        std::string message = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        if (message.find(marker) != std::string::npos) return message;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      pollfd ready{fromBrowser_, POLLIN, 0};
      if (left <= 0 || ::poll(&ready, 1, static_cast<int>(left)) <= 0) return {};
      char chunk[65536];
      const ssize_t n = ::read(fromBrowser_, chunk, sizeof chunk);
      if (n <= 0) return {};
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

 private:
  pid_t pid_ = -1;
  int toBrowser_ = -1, fromBrowser_ = -1;
  int lastId_ = 0;
  std::string buffer_;
};

// The text of "key":"..." in a JSON message (no escapes occur in the values read).
std::string StringField(const std::string& message, const std::string& key) {
  const std::string open = "\"" + key + "\":\"";
  const auto start = message.find(open);
  if (start == std::string::npos) return {};
  const auto end = message.find('"', start + open.size());
  return end == std::string::npos ? std::string()
                                  : message.substr(start + open.size(), end - start - open.size());
}

std::string FromBase64(const std::string& text) {
  std::string out;
  std::uint32_t bits = 0;
  int count = 0;
  for (const char ch : text) {
    int v = -1;
    if (ch >= 'A' && ch <= 'Z') v = ch - 'A';
    if (ch >= 'a' && ch <= 'z') v = ch - 'a' + 26;
    if (ch >= '0' && ch <= '9') v = ch - '0' + 52;
    if (ch == '+') v = 62;
    if (ch == '/') v = 63;
    if (v < 0) continue;
    bits = (bits << 6) | static_cast<std::uint32_t>(v);
    if ((count += 6) >= 8) {
      count -= 8;
      out.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
  }
  return out;
}

}  // namespace

bool PrintWithoutBackgrounds(const std::string& url, const std::filesystem::path& pdf,
                             std::string& error) {
  ScratchFolder profile;
  DevToolsPipe browser(profile.Path());
  if (!browser.Started()) {
    error = "chromium did not start";
    return false;
  }
  const std::string target =
      StringField(browser.Call("Target.createTarget", "{\"url\":\"about:blank\"}"), "targetId");
  const std::string session = StringField(
      browser.Call("Target.attachToTarget", "{\"targetId\":\"" + target + "\",\"flatten\":true}"),
      "sessionId");
  if (session.empty()) {
    error = "no page session";
    return false;
  }
  browser.Call("Page.enable", "{}", session);
  browser.Call("Page.navigate", "{\"url\":\"" + url + "\"}", session);
  if (browser.Await("\"Page.loadEventFired\"").empty()) {
    error = "the page did not load";
    return false;
  }
  // What the print dialog does by default: no backgrounds.
  const std::string data =
      StringField(browser.Call("Page.printToPDF", "{\"printBackground\":false}", session), "data");
  if (data.empty()) {
    error = "no PDF";
    return false;
  }
  std::ofstream(pdf, std::ios::binary) << FromBase64(data);
  return true;
}

}  // namespace qrsmith::testing
