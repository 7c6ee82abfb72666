// lumora-cli feed: one draw-feed response, fetched or from a file, through the feed parser and
// ApplyIncomingDraws on an empty history. Prints Tnew, then the history text when it was applied.
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Fetch.h"
#include "cli/Help.h"
#include "core/Endpoint.h"
#include "core/Feed.h"
#include "core/Files.h"
#include "core/History.h"
#include "core/ServiceConfig.h"
#include "core/Text.h"
#include "core/TextCodec.h"
#include "core/controls/Fmain.h"

namespace lumora::cli {

namespace {

constexpr const char* kFeedUsage =
    "usage: lumora-cli feed (--url URL | --file FILE) [--user NAME] [--password-file FILE] [--code CODE]\n"
    "                       [--ca-file PEM] [--data DIR] [--timeout S]\n"
    "  --url      the draw-feed endpoint; the request adds the account and the fixed keys\n"
    "             (a URL that already holds a '?' is fetched as it stands)\n"
    "  the password: LUMORA_PASSWORD in the environment, or the first line of --password-file\n"
    "  --ca-file  PEM certificates trusted for https besides the system's (default: ca_file of\n"
    "             lumora.ini in --data DIR, LUMORA_DATA or data/ beside the program)\n"
    "  plain http:// goes only to this machine unless that lumora.ini says allow_plain_http=1\n"
    "  --file     a saved response (LF or CR LF line breaks)\n"
    "  --timeout  give up after S seconds (default 20); responses are capped at 1 MiB\n"
    "exit status: 0 the history was applied, 1 the response was refused, 2 usage or I/O error";

// lumora.ini for the cli: the one in --data DIR, else in LUMORA_DATA, else in data/ beside the
// program (never a user folder made on the way, as the desktop program would).
ServiceConfig CliServiceConfig(const Args& args) {
  std::filesystem::path dir;
  if (args.has("--data")) dir = PathFromUtf8(args.get("--data"));
  else if (const char* env = std::getenv("LUMORA_DATA"); env && *env) dir = env;
  else dir = RunningExecutable().parent_path() / "data";
  return ReadServiceConfig(dir / "lumora.ini");
}

// The password from LUMORA_PASSWORD or the first line of --password-file; never the command line.
std::optional<std::string> CliPassword(const Args& args, std::string& error) {
  if (args.has("--password-file")) {
    auto bytes = ReadWholeFileBytes(PathFromUtf8(args.get("--password-file")));
    if (!bytes) {
      error = "cannot read the password file " + args.get("--password-file");
      return std::nullopt;
    }
    std::string line = bytes->substr(0, bytes->find_first_of("\r\n"));
    return line;
  }
#ifdef _WIN32
  // The wide environment: a password outside the ANSI code page arrives whole.
  if (const wchar_t* env = _wgetenv(L"LUMORA_PASSWORD")) return PathToUtf8(std::filesystem::path(env));
#else
  if (const char* env = std::getenv("LUMORA_PASSWORD")) return std::string(env);
#endif
  return std::string();
}

}  // namespace

std::string FeedUsage() { return kFeedUsage; }

int RunFeed(int argc, char** argv) {
  Args args(argc, argv, 0);
  if (!args.ok()) return Fail(args.error() + "\n" + kFeedUsage);
  if (args.has("--password"))
    return Fail(
        "--password is not taken on the command line (any user can read it there): set LUMORA_PASSWORD "
        "in the environment or give --password-file FILE");
  auto unknown =
      args.unknown({"--url", "--file", "--user", "--password-file", "--code", "--timeout", "--ca-file", "--data"});
  if (!unknown.empty()) return Fail("unknown option " + unknown.front() + "\n" + kFeedUsage);
  if (args.has("--url") == args.has("--file")) return Fail(std::string("give either --url or --file\n") + kFeedUsage);
  double timeout = kDrawRequestTimeoutMs / 1000.0;
  if (args.has("--timeout")) {
    timeout = ReadNumber(args.get("--timeout"));
    if (timeout <= 0) return Fail("--timeout wants a number of seconds above 0");
  }

  FeedState feed;
  if (args.has("--file")) {
    auto bytes = ReadWholeFileBytes(PathFromUtf8(args.get("--file")));
    if (!bytes) return Fail("cannot read " + args.get("--file"));
    feed.response = ToCrLf(DecodeText(*bytes));
  } else {
    std::string url = args.get("--url");
    ServiceConfig ini = CliServiceConfig(args);
    if (!Contains(url, "?")) {
      std::string error;
      std::optional<std::string> password = CliPassword(args, error);
      if (!password) return Fail(error);
      ServiceConfig config;
      config.feedEndpoint = url;
      config.user = args.get("--user");
      config.password = *password;
      config.randomCode = args.get("--code");
      url = BuildFeedRequest(config);
    }
    EndpointVerdict verdict = CheckEndpoint(url, ini.allowPlainHttp);
    if (verdict.failure != HttpFailure::None) {
      const UrlParts parts = SplitUrl(url);
      if (parts.scheme != "http" && parts.scheme != "https")
        return Fail("not sent: " + OriginOf(RedactSecrets(url)) + " is not an http:// or https:// URL");
      return Fail("not sent: " + OriginOf(url) +
                  " is another machine and plain http would carry the password "
                  "unencrypted; use https:// (or allow_plain_http=1 in lumora.ini)");
    }
    if (verdict.plainOffMachine)
      std::fprintf(stderr, "lumora-cli: warning: the password goes to %s unencrypted (allow_plain_http=1)\n",
                   OriginOf(url).c_str());
    FetchOptions fetch;
    fetch.timeoutSeconds = timeout;
    fetch.maxBytes = kDrawResponseMaxBytes;
    fetch.caFile = args.has("--ca-file") ? args.get("--ca-file") : ini.caFile;
    Fetched fetched = Fetch(url, fetch);
    if (!fetched.error.empty()) return Fail(RedactSecrets(fetched.error));
    if (fetched.status != 200) std::fprintf(stderr, "lumora-cli: HTTP status %d\n", fetched.status);
    feed.response = fetched.body;
  }

  Context cx;
  bool applied = ProcessDrawResponse(cx, feed);
  std::printf("%s\n", cx.form.text(fmain::Tnew).c_str());
  if (applied) std::printf("%s\n", ToLf(HistoryText(cx.draws)).c_str());
  return applied ? 0 : 1;
}

}  // namespace lumora::cli
