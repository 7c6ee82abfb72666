#pragma once
// lumora-feed's HTTP side: the draw feed at /feed and the settings service at /settings, with
// account checking and deliberately bad answers for reliability tests.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "services/Accounts.h"
#include "services/DrawSource.h"
#include "services/HttpServer.h"
#include "services/SettingsStore.h"

namespace lumora::feed {

enum class Fault { None, Hang, Garbage, Short, Huge, Slow };
std::optional<Fault> ParseFault(const std::string& name);

struct Options {
  std::string listen = "127.0.0.1";
  int port = 18610;                 // 0 = any free port (printed at start)
  double interval = 60;             // seconds between draws; 0 = no new draws
  std::optional<uint64_t> seed;     // repeatable draws
  std::string drawsFile;            // serve this file's draws one by one
  std::optional<std::string> code;  // the random code every request must carry, when given
  std::string certFile, keyFile;    // both given: https
  std::string stateFolder;          // where the settings records live
  Fault fault = Fault::None;
  double faultSeconds = 30;  // how long a slow answer takes
  int faultCount = -1;       // answer badly this many times, then well (-1 = always)
  bool quiet = false;        // no request log on stderr
};

class FeedServer {
 public:
  // Without accounts (none, or an empty set) the feed is open and /settings refuses every request.
  FeedServer(Options options, std::unique_ptr<DrawSource> draws, std::unique_ptr<SettingsStore> settings,
             std::unique_ptr<Accounts> accounts);
  ~FeedServer();

  // Loads the certificate and key when options name them; false with `error` when they do not load.
  bool setUpTls(std::string& error);
  // Binds the listening socket; returns the port, or -1 when binding fails.
  int bind();
  // Serves until stop() is called (from any thread).
  bool serve();
  void stop();

  // Answer texts, as sent when nothing goes wrong.
  std::string feedAnswer(const HttpRequest& req);
  std::string settingsAnswer(const HttpRequest& req);

 private:
  enum class Login { Ok, Refused, Locked };
  // Checks the request's code, user name and password against the accounts, counting failures.
  Login login(const HttpRequest& req, std::string& why);
  void handle(const HttpRequest& req, HttpResponse& res);
  // Sends `body`, or mangles it as the fault mode says.
  void deliver(HttpResponse& res, std::string body);
  void log(const HttpRequest& req, const std::string& outcome) const;

  Options options_;
  std::unique_ptr<DrawSource> draws_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<Accounts> accounts_;
  LoginGuard guard_;
  std::unique_ptr<HttpServer> server_;
  std::atomic<bool> stopping_{false};
  std::atomic<int> faultsGiven_{0};
};

// The log's form of a text from a request: control characters (line breaks among them) and '\\'
// as \xNN, so one request always makes one log line.
std::string LogText(std::string_view text);

// Whether `host` names this machine only (127.0.0.0/8, ::1, localhost).
bool IsLoopbackHost(const std::string& host);

}  // namespace lumora::feed
