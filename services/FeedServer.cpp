#include "services/FeedServer.h"

#include <httplib.h>

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

std::string Param(const httplib::Request& req, const char* key) {
  return req.has_param(key) ? req.get_param_value(key) : std::string();
}

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

FeedServer::FeedServer(Options options, std::unique_ptr<DrawSource> draws, std::unique_ptr<SettingsStore> settings)
    : options_(std::move(options)), draws_(std::move(draws)), settings_(std::move(settings)),
      server_(std::make_unique<httplib::Server>()) {
  server_->new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
  server_->Get("/feed", [this](const httplib::Request& req, httplib::Response& res) {
    deliver(res, feedAnswer(req));
  });
  server_->Get("/settings", [this](const httplib::Request& req, httplib::Response& res) {
    deliver(res, settingsAnswer(req));
  });
}

FeedServer::~FeedServer() = default;

int FeedServer::bind() {
  if (options_.port == 0) return server_->bind_to_any_port(options_.listen);
  return server_->bind_to_port(options_.listen, options_.port) ? options_.port : -1;
}

bool FeedServer::serve() {
  bool served = stopping_ || server_->listen_after_bind();
  served_ = true;
  return served;
}

void FeedServer::stop() {
  stopping_ = true;
  // The server ignores a stop until it has begun to serve; one that comes in between (a signal
  // the moment the service has said it serves) would be lost, so wait for serving to begin.
  while (!served_ && !server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  server_->stop();
}

bool FeedServer::accountMatches(const httplib::Request& req) const {
  if (options_.user && Param(req, "username") != *options_.user) return false;
  if (options_.password && Param(req, "pw") != *options_.password) return false;
  if (options_.code && Param(req, "sjm_in") != *options_.code) return false;
  return true;
}

std::string FeedServer::feedAnswer(const httplib::Request& req) {
  if (!accountMatches(req)) {
    log(req, "account refused");
    return std::string(kRefused);
  }
  std::vector<Draw> draws = draws_->latest();
  log(req, "ok, " + std::to_string(draws.size()) + " draws, newest " +
               (draws.empty() ? std::string("none") : draws.back().line()));
  return std::string(kOk) + std::string(kCrLf) + std::string(kBlock) + DrawBlock(draws) + std::string(kBlock) +
         std::string(kCrLf);
}

std::string FeedServer::settingsAnswer(const httplib::Request& req) {
  std::string user = Param(req, "username");
  std::string zt = Param(req, "zt");
  if (!accountMatches(req) || user.empty() || Param(req, "lx") != "2") {
    log(req, "refused");
    return std::string(kSettingsError);
  }
  if (zt == "1" && req.has_param("uesr_shizhi")) {
    std::string record = req.get_param_value("uesr_shizhi");
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

void FeedServer::deliver(httplib::Response& res, std::string body) {
  res.set_header("Cache-Control", "no-store");
  Fault fault = options_.fault;
  if (fault != Fault::None && options_.faultCount >= 0 && faultsGiven_++ >= options_.faultCount) fault = Fault::None;
  switch (fault) {
    case Fault::None:
      res.set_content(body, std::string(kTextType));
      return;
    case Fault::Hang:
      // Never answers: holds the connection until the service stops.
      while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
      res.status = 503;
      return;
    case Fault::Garbage:
      res.set_content(Garbage(), std::string(kTextType));
      return;
    case Fault::Short:
      // A complete HTTP answer whose text stops half-way.
      body.resize(body.size() / 2);
      res.set_content(body, std::string(kTextType));
      return;
    case Fault::Huge:
      res.set_content(Huge(body), std::string(kTextType));
      return;
    case Fault::Slow: {
      // The right answer, trickled out over faultSeconds.
      auto shared = std::make_shared<std::string>(std::move(body));
      constexpr int kPieces = 50;
      size_t piece = std::max<size_t>(1, (shared->size() + kPieces - 1) / kPieces);
      auto pause = std::chrono::duration<double>(options_.faultSeconds / kPieces);
      res.set_content_provider(
          shared->size(), std::string(kTextType),
          [this, shared, piece, pause](size_t offset, size_t, httplib::DataSink& sink) {
            auto until = std::chrono::steady_clock::now() + pause;
            while (!stopping_ && std::chrono::steady_clock::now() < until)
              std::this_thread::sleep_for(std::min<std::chrono::duration<double>>(pause, std::chrono::milliseconds(50)));
            if (stopping_) return false;
            size_t n = std::min(piece, shared->size() - offset);
            return sink.write(shared->data() + offset, n);
          });
      return;
    }
  }
}

void FeedServer::log(const httplib::Request& req, const std::string& outcome) const {
  if (options_.quiet) return;
  std::fprintf(stderr, "lumora-feed: %s %s user=%s: %s\n", req.method.c_str(), req.path.c_str(),
               req.has_param("username") ? req.get_param_value("username").c_str() : "-", outcome.c_str());
}

}  // namespace lumora::feed
