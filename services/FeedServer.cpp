#include "services/FeedServer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "core/Files.h"
#include "core/Text.h"
#include "services/FeedTexts.h"

namespace lumora::feed {

namespace {

constexpr size_t kHugeBytes = 8 * 1024 * 1024;  // well past any client's cap
constexpr int kWorkerThreads = 32;              // hung answers each hold one

std::string DrawBlock(const std::vector<Draw>& draws) {
  std::string block;
  for (size_t i = 0; i < draws.size(); ++i) {
    if (i) block += kCrLf;
    block += draws[i].line();
  }
  return block;
}

std::string Garbage() {
  // Bytes that form no marker: every '*' is left out.
  std::mt19937 rng(12345);
  std::string out(4096, '\0');
  for (char& c : out) {
    do c = static_cast<char>(rng() & 0xff);
    while (c == '*');
  }
  return out;
}

std::string Huge(const std::string& body) {
  // A well-formed draw answer with far too many lines, or the answer padded with blanks.
  if (body.rfind(kOk, 0) == 0) {
    std::string out = std::string(kOk) + std::string(kCrLf) + std::string(kBlock);
    int64_t n = 0;
    while (out.size() < kHugeBytes) {
      out += Pad(n % kPeriodsPerDay + 1, 3) + "-" + Pad((n * 7919) % 100000, 5) + std::string(kCrLf);
      ++n;
    }
    out += "000-00000" + std::string(kBlock) + std::string(kCrLf);
    return out;
  }
  std::string out = body;
  out.resize(std::max(kHugeBytes, body.size()), ' ');
  return out;
}

}  // namespace

std::optional<Fault> ParseFault(const std::string& name) {
  if (name == "none") return Fault::None;
  if (name == "hang") return Fault::Hang;
  if (name == "garbage") return Fault::Garbage;
  if (name == "short") return Fault::Short;
  if (name == "huge") return Fault::Huge;
  if (name == "slow") return Fault::Slow;
  return std::nullopt;
}

FeedServer::FeedServer(Options options, std::unique_ptr<DrawSource> draws, std::unique_ptr<SettingsStore> settings,
                       std::unique_ptr<Accounts> accounts)
    : options_(std::move(options)), draws_(std::move(draws)), settings_(std::move(settings)),
      accounts_(std::move(accounts)) {
  HttpLimits limits;
  limits.workers = kWorkerThreads;
  server_ =
      std::make_unique<HttpServer>(limits, [this](const HttpRequest& req, HttpResponse& res) { handle(req, res); });
}

FeedServer::~FeedServer() = default;

bool FeedServer::setUpTls(std::string& error) {
  if (options_.certFile.empty() && options_.keyFile.empty()) return true;
  if (options_.certFile.empty() || options_.keyFile.empty()) {
    error = "https needs both --cert and --key";
    return false;
  }
  return server_->useTls(options_.certFile, options_.keyFile, error);
}

int FeedServer::bind() { return server_->bind(options_.listen, options_.port); }

bool FeedServer::serve() { return stopping_ || server_->serve(); }

void FeedServer::stop() {
  stopping_ = true;
  server_->stop();
}

void FeedServer::handle(const HttpRequest& req, HttpResponse& res) {
  if (req.path == "/feed") {
    deliver(res, feedAnswer(req));
  } else if (req.path == "/settings") {
    deliver(res, settingsAnswer(req));
  } else {
    res.status = 404;
    res.body = "not found\n";
    log(req, "not found");
  }
}

FeedServer::Login FeedServer::login(const HttpRequest& req, std::string& why) {
  if (options_.code && req.param("sjm_in") != *options_.code) {
    why = "wrong code";
    return Login::Refused;
  }
  if (!accounts_ || accounts_->empty()) return Login::Ok;
  const std::string user = req.param("username");
  const auto now = LoginGuard::Clock::now();
  if (auto seconds = guard_.lockedFor(user, req.remoteAddress, now)) {
    why = "too many failed logins, locked for " + std::to_string(*seconds) + " s";
    return Login::Locked;
  }
  if (accounts_->verify(user, req.param("pw"))) {
    guard_.succeeded(user);
    return Login::Ok;
  }
  guard_.failed(user, req.remoteAddress, now);
  why = "wrong user name or password";
  return Login::Refused;
}

std::string FeedServer::feedAnswer(const HttpRequest& req) {
  std::string why;
  if (Login result = login(req, why); result != Login::Ok) {
    log(req, "account refused: " + why);
    return std::string(kRefused) + (result == Login::Locked ? std::string(kCrLf) + why : std::string());
  }
  std::vector<Draw> draws = draws_->latest();
  log(req, "ok, " + std::to_string(draws.size()) + " draws, newest " +
               (draws.empty() ? std::string("none") : draws.back().line()));
  return std::string(kOk) + std::string(kCrLf) + std::string(kBlock) + DrawBlock(draws) + std::string(kBlock) +
         std::string(kCrLf);
}

std::string FeedServer::settingsAnswer(const HttpRequest& req) {
  std::string user = req.param("username");
  std::string zt = req.param("zt");
  // Records are kept per account: with no accounts there is nobody to keep them for.
  if (!accounts_ || accounts_->empty()) {
    log(req, "refused: no accounts");
    return std::string(kSettingsError) + std::string(kCrLf) + std::string(kNoAccounts);
  }
  std::string why;
  if (Login result = login(req, why); result != Login::Ok) {
    log(req, "account refused: " + why);
    return std::string(kSettingsError) + (result == Login::Locked ? std::string(kCrLf) + why : std::string());
  }
  if (user.empty() || req.param("lx") != "2") {
    log(req, "refused");
    return std::string(kSettingsError);
  }
  if (zt == "1" && req.has("uesr_shizhi")) {
    std::string record = req.param("uesr_shizhi");
    if (record.size() > kMaxRecordBytes || !settings_->put(user, record)) {
      log(req, record.size() > kMaxRecordBytes ? "record too long" : "cannot write " + PathToUtf8(settings_->file()));
      return std::string(kSettingsError);
    }
    log(req, "stored " + std::to_string(record.size()) + " bytes");
    return std::string(kSettingsOk);
  }
  if (zt == "2") {
    auto record = settings_->get(user);
    log(req, record ? "sent the record" : "nothing stored");
    if (!record) return std::string(kSettingsNone);
    return std::string(kSettingsOk) + std::string(kCrLf) + *record;
  }
  log(req, "refused");
  return std::string(kSettingsError);
}

void FeedServer::deliver(HttpResponse& res, std::string body) {
  res.headers.emplace_back("Cache-Control", "no-store");
  res.contentType = std::string(kTextType);
  Fault fault = options_.fault;
  if (fault != Fault::None && options_.faultCount >= 0 && faultsGiven_++ >= options_.faultCount) fault = Fault::None;
  switch (fault) {
    case Fault::None: res.body = std::move(body); return;
    case Fault::Hang:
      // Never answers: holds the connection until the service stops.
      while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
      res.status = 503;
      return;
    case Fault::Garbage: res.body = Garbage(); return;
    case Fault::Short:
      // A complete HTTP answer whose text stops half-way.
      body.resize(body.size() / 2);
      res.body = std::move(body);
      return;
    case Fault::Huge: res.body = Huge(body); return;
    case Fault::Slow:
      // The right answer, trickled out over faultSeconds.
      res.body = std::move(body);
      res.spreadSeconds = options_.faultSeconds;
      return;
  }
}

void FeedServer::log(const HttpRequest& req, const std::string& outcome) const {
  if (options_.quiet) return;
  std::string user = req.has("username") ? LogText(req.param("username")) : std::string("-");
  std::fprintf(stderr, "lumora-feed: %s %s user=%s from %s: %s\n", LogText(req.method).c_str(),
               LogText(req.path).c_str(), user.c_str(), LogText(req.remoteAddress).c_str(), LogText(outcome).c_str());
}

std::string LogText(std::string_view text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7f || c == '\\') {
      out += "\\x";
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

bool IsLoopbackHost(const std::string& host) {
  std::string h = host;
  for (char& c : h) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (h == "localhost" || h == "::1" || h == "[::1]") return true;
  // Dotted IPv4 with 127 first.
  std::vector<std::string> parts = Split(h, ".");
  if (parts.size() != 4) return false;
  for (const std::string& p : parts)
    if (p.empty() || p.size() > 3 || !IsDigits(p) || std::stoi(p) > 255) return false;
  return parts[0] == "127";
}

}  // namespace lumora::feed
