#pragma once
// lumora-feed's HTTP side: the draw feed at /feed and the settings service at /settings, with
// optional account checking and deliberately bad answers for reliability tests.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "services/DrawSource.h"
#include "services/SettingsStore.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace lumora::feed {

enum class Fault { None, Hang, Garbage, Short, Huge, Slow };
std::optional<Fault> ParseFault(const std::string& name);

struct Options {
  std::string listen = "127.0.0.1";
  int port = 18610;                    // 0 = any free port (printed at start)
  double interval = 60;                // seconds between draws; 0 = no new draws
  std::optional<uint64_t> seed;        // repeatable draws
  std::string drawsFile;               // serve this file's draws one by one
  std::optional<std::string> user, password, code;  // required account values, when given
  std::string stateFolder;             // where the settings records live
  Fault fault = Fault::None;
  double faultSeconds = 30;            // how long a slow answer takes
  int faultCount = -1;                 // answer badly this many times, then well (-1 = always)
  bool quiet = false;                  // no request log on stderr
};

class FeedServer {
 public:
  FeedServer(Options options, std::unique_ptr<DrawSource> draws, std::unique_ptr<SettingsStore> settings);
  ~FeedServer();

  // Binds the listening socket; returns the port, or -1 when binding fails.
  int bind();
  // Serves until stop() is called (from any thread).
  bool serve();
  void stop();

  // Answer texts, as sent when nothing goes wrong.
  std::string feedAnswer(const httplib::Request& req);
  std::string settingsAnswer(const httplib::Request& req);

 private:
  bool accountMatches(const httplib::Request& req) const;
  // Sends `body`, or mangles it as the fault mode says.
  void deliver(httplib::Response& res, std::string body);
  void log(const httplib::Request& req, const std::string& outcome) const;

  Options options_;
  std::unique_ptr<DrawSource> draws_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<httplib::Server> server_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> served_{false};  // serve() has returned
  std::atomic<int> faultsGiven_{0};
};

}  // namespace lumora::feed
