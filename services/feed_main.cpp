// lumora-feed: the local draw-feed and settings services on one HTTP port.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <atomic>
#else
#include <pthread.h>
#endif

#include "core/Files.h"
#include "core/Text.h"
#include "core/Version.h"
#include "services/FeedServer.h"

namespace {

using lumora::feed::Options;

const char* kUsage =
    "usage: lumora-feed [--port P] [--listen ADDR] [--interval SECONDS] [--seed N]\n"
    "                   [--draws FILE] [--state DIR] [--accounts FILE]\n"
    "                   [--user NAME [--password-file FILE]] [--code CODE]\n"
    "                   [--cert FILE --key FILE] [--fault hang|garbage|short|huge|slow]\n"
    "                   [--fault-seconds S] [--fault-count N] [--quiet]\n"
    "       lumora-feed --add-user NAME [--password-file FILE] [--state DIR | --accounts FILE]\n"
    "       lumora-feed --remove-user NAME [--state DIR | --accounts FILE]\n"
    "       lumora-feed --version\n"
    "Serves the draw feed at http://ADDR:P/feed and the settings service at /settings\n"
    "(https with --cert and --key: PEM certificate chain and key).\n"
    "Defaults: port 18610, ADDR 127.0.0.1 (loopback only), a new draw every 60 s,\n"
    "accounts in STATE/accounts. Without accounts the feed is open and /settings refuses\n"
    "every request. A password is never given on the command line: it is read from\n"
    "--password-file, else from the environment variable LUMORA_FEED_PASSWORD, else (for\n"
    "--add-user) from the first line of standard input. An address other than loopback\n"
    "needs https and accounts.\n";

constexpr const char* kPasswordVariable = "LUMORA_FEED_PASSWORD";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "lumora-feed: %s\n%s", message.c_str(), kUsage);
  return 2;
}

bool ReadNumberArg(const std::string& text, double& out) {
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return !text.empty() && end && *end == '\0';
}

std::filesystem::path DefaultStateFolder() {
#ifdef _WIN32
  if (const wchar_t* s = _wgetenv(L"LOCALAPPDATA"); s && *s) return std::filesystem::path(s) / "lumora-feed";
#endif
  if (const char* s = std::getenv("XDG_STATE_HOME"); s && *s) return std::filesystem::path(s) / "lumora-feed";
  if (const char* h = std::getenv("HOME"); h && *h) return std::filesystem::path(h) / ".local/state/lumora-feed";
  return "lumora-feed-state";
}

// The password from --password-file (its first line), else the environment, else (when allowed)
// the first line of standard input; nothing, with `error`, when there is none.
std::optional<std::string> ReadPassword(const std::map<std::string, std::string>& args, bool fromStdin,
                                        std::string& error) {
  auto firstLine = [](std::string text) {
    text = text.substr(0, text.find('\n'));
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
  };
  std::string password;
  if (auto it = args.find("--password-file"); it != args.end()) {
    auto bytes = lumora::ReadWholeFileBytes(lumora::PathFromUtf8(it->second));
    if (!bytes) {
      error = "cannot read the password file " + it->second;
      return std::nullopt;
    }
    password = firstLine(*bytes);
  } else if (const char* env = std::getenv(kPasswordVariable); env && *env) {
    password = env;
  } else if (fromStdin) {
    std::string line;
    int c;
    while ((c = std::getchar()) != EOF && c != '\n') line.push_back(static_cast<char>(c));
    password = firstLine(line);
  }
  if (password.empty()) {
    error = std::string("no password: give --password-file FILE or set ") + kPasswordVariable +
            (fromStdin ? " or write it to standard input" : "");
    return std::nullopt;
  }
  return password;
}

#ifdef _WIN32
// Ctrl-C, Ctrl-Break and closing the console stop the server cleanly.
std::atomic<lumora::feed::FeedServer*> gServer{nullptr};
BOOL WINAPI StopOnConsoleEvent(DWORD) {
  if (lumora::feed::FeedServer* s = gServer.load()) s->stop();
  return TRUE;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> argText = lumora::Utf8Arguments(argc, argv);
  argc = static_cast<int>(argText.size());
  Options options;
  const std::vector<std::string> valued = {"--port",          "--listen",        "--interval", "--seed",  "--draws",
                                           "--user",          "--password-file", "--code",     "--state", "--fault",
                                           "--fault-seconds", "--fault-count",   "--accounts", "--cert",  "--key",
                                           "--add-user",      "--remove-user"};
  std::map<std::string, std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::string a = argText[static_cast<size_t>(i)];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (a == "--version") {
      std::printf("%s\n", lumora::VersionLine("lumora-feed").c_str());
      return 0;
    }
    if (a == "--quiet") {
      options.quiet = true;
      continue;
    }
    if (a == "--password" || a.starts_with("--password="))
      return UsageError(std::string("--password is not taken: other users of this machine could read it (ps). Use "
                                    "--password-file FILE or the environment variable ") +
                        kPasswordVariable);
    if (std::find(valued.begin(), valued.end(), a) == valued.end()) return UsageError("unknown option " + a);
    if (i + 1 >= argc) return UsageError("missing value for " + a);
    args[a] = argText[static_cast<size_t>(++i)];
  }

  double number = 0;
  if (args.count("--port")) {
    if (!ReadNumberArg(args["--port"], number) || number < 0 || number > 65535 || number != static_cast<int>(number))
      return UsageError("--port wants a port number 0..65535");
    options.port = static_cast<int>(number);
  }
  if (args.count("--listen")) options.listen = args["--listen"];
  if (args.count("--interval")) {
    if (!ReadNumberArg(args["--interval"], number) || number < 0) return UsageError("--interval wants seconds >= 0");
    options.interval = number;
  }
  if (args.count("--seed")) {
    if (!lumora::IsDigits(args["--seed"]) || args["--seed"].size() > 19)
      return UsageError("--seed wants a whole number");
    options.seed = std::stoull(args["--seed"]);
  }
  if (args.count("--code")) options.code = args["--code"];
  if (args.count("--cert")) options.certFile = args["--cert"];
  if (args.count("--key")) options.keyFile = args["--key"];
  if (args.count("--fault")) {
    auto fault = lumora::feed::ParseFault(args["--fault"]);
    if (!fault) return UsageError("--fault wants hang, garbage, short, huge or slow");
    options.fault = *fault;
  }
  if (args.count("--fault-seconds")) {
    if (!ReadNumberArg(args["--fault-seconds"], number) || number < 0)
      return UsageError("--fault-seconds wants seconds >= 0");
    options.faultSeconds = number;
  }
  if (args.count("--fault-count")) {
    if (!lumora::IsDigits(args["--fault-count"]) || args["--fault-count"].size() > 9)
      return UsageError("--fault-count wants a whole number");
    options.faultCount = std::stoi(args["--fault-count"]);
  }

  std::filesystem::path state = args.count("--state") ? lumora::PathFromUtf8(args["--state"]) : DefaultStateFolder();
  const std::filesystem::path accountsFile =
      args.count("--accounts") ? lumora::PathFromUtf8(args["--accounts"]) : state / "accounts";
  auto accounts = std::make_unique<lumora::feed::Accounts>(accountsFile);
  if (!accounts->error().empty()) {
    std::fprintf(stderr, "lumora-feed: %s\n", accounts->error().c_str());
    return 2;
  }
  if (args.count("--add-user") || args.count("--remove-user")) {
    if (args.count("--add-user") && args.count("--remove-user"))
      return UsageError("--add-user or --remove-user, not both");
    std::string error;
    if (args.count("--remove-user")) {
      if (!accounts->remove(args["--remove-user"], error)) {
        std::fprintf(stderr, "lumora-feed: %s\n", error.c_str());
        return 2;
      }
      std::printf("lumora-feed: removed %s from %s\n", args["--remove-user"].c_str(),
                  lumora::PathToUtf8(accountsFile).c_str());
      return 0;
    }
    if (!lumora::feed::Accounts::Available()) {
      std::fprintf(stderr, "lumora-feed: this lumora-feed is built without accounts (libsodium)\n");
      return 2;
    }
    auto password = ReadPassword(args, true, error);
    if (!password || !accounts->set(args["--add-user"], *password, error)) {
      std::fprintf(stderr, "lumora-feed: %s\n", error.c_str());
      return 2;
    }
    std::printf("lumora-feed: %s can log in (accounts in %s)\n", args["--add-user"].c_str(),
                lumora::PathToUtf8(accountsFile).c_str());
    return 0;
  }
  if (args.count("--user")) {
    std::string error;
    auto password = ReadPassword(args, false, error);
    if (!password) return UsageError("--user: " + error);
    if (!accounts->setInMemory(args["--user"], *password, error)) {
      std::fprintf(stderr, "lumora-feed: %s\n", error.c_str());
      return 2;
    }
  } else if (args.count("--password-file")) {
    return UsageError("--password-file goes with --user or --add-user");
  }
  // Off this machine the account would travel in clear, or reach a service anyone may use.
  const bool https = !options.certFile.empty() || !options.keyFile.empty();
  if (!lumora::feed::IsLoopbackHost(options.listen) && (!https || accounts->empty())) {
    std::fprintf(stderr,
                 "lumora-feed: --listen %s: other machines could reach the service; that needs https (--cert and "
                 "--key) and accounts (--add-user), refused\n",
                 options.listen.c_str());
    return 2;
  }

  std::unique_ptr<lumora::feed::DrawSource> draws;
  if (args.count("--draws")) {
    std::string error;
    auto file = lumora::feed::ReadDraws(args["--draws"], error);
    if (!file) {
      std::fprintf(stderr, "lumora-feed: %s\n", error.c_str());
      return 2;
    }
    draws = std::make_unique<lumora::feed::DrawSource>(std::move(*file), options.interval);
  } else {
    uint64_t seed = options.seed ? *options.seed : std::random_device{}();
    draws = std::make_unique<lumora::feed::DrawSource>(seed, options.interval);
  }

  auto settings = std::make_unique<lumora::feed::SettingsStore>(state);
  if (!settings->error().empty()) {
    std::fprintf(stderr, "lumora-feed: %s\n", settings->error().c_str());
    return 2;
  }

#ifndef _WIN32
  // SIGINT and SIGTERM stop the server cleanly; every worker thread inherits the blocked mask.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
#endif

  const bool anyAccount = !accounts->empty();
  lumora::feed::FeedServer server(options, std::move(draws), std::move(settings), std::move(accounts));
  if (std::string error; !server.setUpTls(error)) {
    std::fprintf(stderr, "lumora-feed: %s\n", error.c_str());
    return 2;
  }
  int port = server.bind();
  if (port < 0) {
    std::fprintf(stderr, "lumora-feed: cannot listen on %s:%d\n", options.listen.c_str(), options.port);
    return 2;
  }
  const char* scheme = https ? "https" : "http";
  std::printf("lumora-feed: serving %s://%s:%d/feed and %s://%s:%d/settings (state %s)\n", scheme,
              options.listen.c_str(), port, scheme, options.listen.c_str(), port, lumora::PathToUtf8(state).c_str());
  if (!anyAccount)
    std::printf(
        "lumora-feed: no accounts: the feed is open and /settings refuses every request "
        "(lumora-feed --add-user NAME adds one)\n");
  std::fflush(stdout);

#ifdef _WIN32
  gServer = &server;
  SetConsoleCtrlHandler(StopOnConsoleEvent, TRUE);
  bool served = server.serve();
  gServer = nullptr;
  return served ? 0 : 2;
#else
  std::thread waiter([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.stop();
  });
  bool served = server.serve();
  // A stop for any other reason: wake the waiter so it can be joined.
  pthread_kill(waiter.native_handle(), SIGTERM);
  waiter.join();
  return served ? 0 : 2;
#endif
}
