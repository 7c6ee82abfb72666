// lumora-cli feed: one draw-feed response, fetched or from a file, through the feed parser and
// ApplyIncomingDraws on an empty history. Prints Tnew, then the history text when it was applied.
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "core/Feed.h"
#include "core/Files.h"
#include "core/History.h"
#include "core/ServiceConfig.h"
#include "core/Text.h"
#include "core/TextCodec.h"

namespace lumora::cli {

namespace {

constexpr const char* kFeedUsage =
    "usage: lumora-cli feed (--url URL | --file FILE) [--user NAME] [--password PW] [--code CODE] [--timeout S]\n"
    "  --url      the draw-feed endpoint; the request adds the account and the fixed keys\n"
    "             (a URL that already holds a '?' is fetched as it stands)\n"
    "  --file     a saved response (LF or CR LF line breaks)\n"
    "  --timeout  give up after S seconds (default 20); responses are capped at 1 MiB\n"
    "exit status: 0 the history was applied, 1 the response was refused, 2 usage or I/O error";

struct Fetched {
  std::string body;
  int status = 0;
  std::string error;  // set when no complete response arrived
};

// GET `url` with a hard time limit (the request is stopped from outside when it runs over) and a
// size cap (the transfer is cut as soon as the body grows past it).
Fetched Fetch(const std::string& url, double timeoutSeconds, size_t maxBytes) {
  Fetched out;
  size_t schemeEnd = url.find("://");
  std::string scheme = schemeEnd == std::string::npos ? std::string() : url.substr(0, schemeEnd);
  if (scheme != "http" && scheme != "https") {
    out.error = "not an http:// or https:// URL: " + url;
    return out;
  }
  size_t pathStart = url.find('/', schemeEnd + 3);
  std::string origin = url.substr(0, pathStart);
  std::string target = pathStart == std::string::npos ? "/" : url.substr(pathStart);
  if (origin.size() <= schemeEnd + 3) {
    out.error = "no host in " + url;
    return out;
  }

  httplib::Client client(origin);
  if (!client.is_valid()) {
    out.error = "cannot use " + origin;
    return out;
  }
  auto limit = std::chrono::duration<double>(timeoutSeconds);
  auto whole = std::chrono::duration_cast<std::chrono::microseconds>(limit);
  client.set_connection_timeout(std::chrono::duration_cast<std::chrono::seconds>(whole).count(),
                                static_cast<time_t>(whole.count() % 1000000));
  client.set_read_timeout(std::chrono::duration_cast<std::chrono::seconds>(whole).count(),
                          static_cast<time_t>(whole.count() % 1000000));
  client.set_follow_location(true);

  std::mutex mutex;
  std::condition_variable finished;
  bool done = false, tooLarge = false;
  std::string body;
  int status = 0;
  httplib::Error error = httplib::Error::Success;
  std::thread worker([&] {
    auto result = client.Get(
        target,
        [&](const httplib::Response& r) {
          status = r.status;
          return true;
        },
        [&](const char* data, size_t length) {
          if (body.size() + length > maxBytes) {
            tooLarge = true;
            return false;
          }
          body.append(data, length);
          return true;
        });
    std::lock_guard lock(mutex);
    error = result.error();
    done = true;
    finished.notify_one();
  });
  bool timedOut = false;
  {
    std::unique_lock lock(mutex);
    if (!finished.wait_for(lock, limit, [&] { return done; })) timedOut = true;
  }
  if (timedOut) client.stop();
  worker.join();

  if (timedOut) {
    out.error = "no complete response within " + FormatNumber(timeoutSeconds) + " s from " + origin;
  } else if (tooLarge) {
    out.error = "the response is larger than " + std::to_string(maxBytes) + " bytes";
  } else if (error != httplib::Error::Success) {
    out.error = "cannot fetch " + url + ": " + httplib::to_string(error);
  } else {
    out.body = DecodeText(body);
    out.status = status;
  }
  return out;
}

}  // namespace

std::string FeedUsage() { return kFeedUsage; }

int RunFeed(int argc, char** argv) {
  Args args(argc, argv, 0);
  if (!args.ok()) return Fail(args.error() + "\n" + kFeedUsage);
  auto unknown = args.unknown({"--url", "--file", "--user", "--password", "--code", "--timeout"});
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
    if (!Contains(url, "?")) {
      ServiceConfig config;
      config.feedEndpoint = url;
      config.user = args.get("--user");
      config.password = args.get("--password");
      config.randomCode = args.get("--code");
      url = BuildFeedRequest(config);
    }
    Fetched fetched = Fetch(url, timeout, kDrawResponseMaxBytes);
    if (!fetched.error.empty()) return Fail(fetched.error);
    if (fetched.status != 200) std::fprintf(stderr, "lumora-cli: HTTP status %d\n", fetched.status);
    feed.response = fetched.body;
  }

  Context cx;
  bool applied = ProcessDrawResponse(cx, feed);
  std::printf("%s\n", cx.form.text("Tnew").c_str());
  if (applied) std::printf("%s\n", ToLf(HistoryText(cx.draws)).c_str());
  return applied ? 0 : 1;
}

}  // namespace lumora::cli
