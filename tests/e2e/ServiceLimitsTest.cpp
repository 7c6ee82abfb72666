// lumora-feed under clients that misbehave, over real sockets: slow senders, oversized and
// over-long requests, hostile bytes meant for the log; and the largest record it documents.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "core/Text.h"
#include "e2e/support/Accounts.h"
#include "e2e/support/Http.h"
#include "e2e/support/Process.h"

namespace lumora::e2e {
namespace {

using Clock = std::chrono::steady_clock;

int Connect(int port) {
  int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(s);
    return -1;
  }
  return s;
}

bool SendText(int s, const std::string& text) {
  return send(s, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
}

// What arrives on `s` until the peer closes or `seconds` pass.
std::string ReadAnswer(int s, double seconds) {
  std::string out;
  auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  char buf[4096];
  while (Clock::now() < until) {
    pollfd p{s, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    ssize_t n = recv(s, buf, sizeof buf, 0);
    if (n <= 0) break;
    out.append(buf, static_cast<size_t>(n));
  }
  return out;
}

long ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

std::string Encode(const std::string& value) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : value) {
    out += '%';
    out += hex[c >> 4];
    out += hex[c & 15];
  }
  return out;
}

TEST(ServiceLimits, SlowSendersNeitherStarveOthersNorKeepTheirPlaceForever) {
  FeedProcess feed({"--interval", "0", "--state", FreshTempDir().string()});
  constexpr int kSlow = 100;
  // 100 connections, each sending one more header line every 2 s, never ending the request. A
  // connection the service closes is opened again, so there are always 100.
  std::atomic<bool> done{false};
  std::atomic<int> closedByService{0};
  std::atomic<double> firstClosedAfter{0};
  auto start = Clock::now();
  std::thread slow([&] {
    std::vector<int> socks(kSlow, -1);
    while (!done) {
      for (int& s : socks) {
        if (s >= 0) {
          pollfd p{s, POLLIN, 0};
          bool closed = (poll(&p, 1, 0) > 0) || !SendText(s, "X-Slow: 1\r\n");
          if (!closed) continue;
          if (closedByService++ == 0) firstClosedAfter = std::chrono::duration<double>(Clock::now() - start).count();
          close(s);
        }
        s = Connect(feed.port());
        if (s >= 0) SendText(s, "GET /feed HTTP/1.1\r\nHost: 127.0.0.1\r\n");
      }
      for (int i = 0; i < 20 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    for (int s : socks)
      if (s >= 0) close(s);
  });
  std::this_thread::sleep_for(std::chrono::seconds(3));  // every slow connection is in place

  // A normal client fetching once a second for 20 s.
  int answered = 0, fetches = 0;
  double slowest = 0;
  for (; fetches < 20; ++fetches) {
    auto t0 = Clock::now();
    auto body = Get(feed.port(), "/feed?username=&pw=&sjm_in=&lx=2&zt=2", 3);
    double took = std::chrono::duration<double>(Clock::now() - t0).count();
    if (body && body->rfind("**ok**", 0) == 0 && took <= 3.0) ++answered;
    slowest = std::max(slowest, took);
    if (took < 1) std::this_thread::sleep_for(std::chrono::duration<double>(1 - took));
  }
  done = true;
  slow.join();
  std::printf(
      "[ measured ] %d slow connections: %d of %d fetches answered within 3 s, slowest %.3f s; "
      "slow connections closed by the service: %d, the first after %.1f s\n",
      kSlow, answered, fetches, slowest, closedByService.load(), firstClosedAfter.load());
  // Generous for a loaded machine: the figure for the record is printed above.
  EXPECT_GE(answered, fetches / 2);
  // A request must be complete within 10 s: the slow ones are dropped, not served forever.
  EXPECT_GE(closedByService.load(), kSlow);
  EXPECT_GT(firstClosedAfter.load(), 8.0);
  EXPECT_LT(firstClosedAfter.load(), 16.0);
}

TEST(ServiceLimits, AnOversizedBodyIsRefusedAtOnceWithoutBeingRead) {
  FeedProcess feed({"--interval", "0", "--state", FreshTempDir().string()});
  ASSERT_TRUE(Get(feed.port(), "/feed").has_value());
  const long before = ResidentKiB(feed.pid());
  int s = Connect(feed.port());
  ASSERT_GE(s, 0);
  constexpr size_t kBody = 200u * 1024 * 1024;
  ASSERT_TRUE(
      SendText(s, "GET /feed HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: " + std::to_string(kBody) + "\r\n\r\n"));
  auto t0 = Clock::now();
  // The refusal comes before any of the body is sent...
  std::string answer;
  char buf[512];
  pollfd p{s, POLLIN, 0};
  if (poll(&p, 1, 3000) > 0) {
    ssize_t n = recv(s, buf, sizeof buf, 0);
    if (n > 0) answer.assign(buf, static_cast<size_t>(n));
  }
  EXPECT_EQ(answer.rfind("HTTP/1.1 413", 0), 0u) << answer;
  EXPECT_LT(std::chrono::duration<double>(Clock::now() - t0).count(), 2.0);
  // ...and the body finds nobody reading it: the connection fails long before 200 MB went out.
  timeval tv{2, 0};
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  std::string chunk(64 * 1024, 'x');
  size_t sent = 0;
  while (sent < kBody) {
    ssize_t n = send(s, chunk.data(), chunk.size(), MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  close(s);
  EXPECT_LT(sent, kBody / 10);
  const long after = ResidentKiB(feed.pid());
  std::printf(
      "[ measured ] 200 MB body: %zu bytes went out before the connection failed; service resident "
      "memory %ld KiB before, %ld KiB after\n",
      sent, before, after);
  EXPECT_LT(after - before, 8 * 1024);
}

TEST(ServiceLimits, OverlongHeadsAndTooManyHeadersAreRefused) {
  FeedProcess feed({"--interval", "0", "--state", FreshTempDir().string()});
  auto exchange = [&](const std::string& request) {
    int s = Connect(feed.port());
    SendText(s, request);
    std::string answer = ReadAnswer(s, 5);
    close(s);
    return answer.substr(0, answer.find("\r\n"));
  };
  std::string headers;
  for (int i = 0; i < 65; ++i) headers += "X-" + std::to_string(i) + ": v\r\n";
  EXPECT_EQ(exchange("GET /feed HTTP/1.1\r\n" + headers + "\r\n"), "HTTP/1.1 431 Request Header Fields Too Large");
  // 64 headers are fine.
  headers = headers.substr(headers.find("X-1:"));
  EXPECT_EQ(exchange("GET /feed HTTP/1.1\r\n" + headers + "\r\n"), "HTTP/1.1 200 OK");
  EXPECT_EQ(exchange("GET /feed?x=" + std::string(300 * 1024, 'a')), "HTTP/1.1 414 URI Too Long");
  EXPECT_EQ(exchange("GET /feed HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n"), "HTTP/1.1 411 Length Required");
  EXPECT_EQ(exchange("POST /feed HTTP/1.1\r\nContent-Length: 0\r\n\r\n"), "HTTP/1.1 405 Method Not Allowed");
  EXPECT_EQ(exchange("nonsense\r\n\r\n"), "HTTP/1.1 400 Bad Request");
  // The service still answers.
  EXPECT_EQ(Get(feed.port(), "/feed").value().rfind("**ok**", 0), 0u);
}

TEST(ServiceLimits, RecordsUpToSixtyFourKiBAreKeptAndLongerOnesRefused) {
  auto state = FreshTempDir();
  AddAccount(state, "u", "pw");
  FeedProcess feed({"--state", state.string()});
  const std::string account = "/settings?username=u&pw=pw&sjm_in=1&lx=2";
  // Every byte escaped: the request line is three times the record's size.
  std::string record = "*sz*";
  while (record.size() < 64 * 1024 - 4) record += static_cast<char>('0' + record.size() % 10);
  record += "*sz*";
  ASSERT_EQ(record.size(), 64u * 1024);
  EXPECT_EQ(Get(feed.port(), account + "&zt=1&uesr_shizhi=" + Encode(record)).value(), "*szok*");
  EXPECT_EQ(Get(feed.port(), account + "&zt=2&").value(), "*szok*\r\n" + record);
  EXPECT_EQ(Get(feed.port(), account + "&zt=1&uesr_shizhi=" + Encode(record + "x")).value(), "*szerr*");
  EXPECT_EQ(Get(feed.port(), account + "&zt=2&").value(), "*szok*\r\n" + record);
}

TEST(ServiceLimits, HostileBytesInARequestStayOnTheirOwnLogLine) {
  auto state = FreshTempDir();
  auto log = FreshTempDir() / "feed.log";
  {
    FeedProcess feed({"--interval", "0", "--state", state.string()}, log);
    Get(feed.port(), "/feed?username=a%0D%0Alumora-feed:%20GET%20/feed%20user=admin:%20ok&pw=x");
    Get(feed.port(), "/settings?username=b%0Aforged&pw=x&lx=2&zt=2");
    Get(feed.port(), "/feed%0Aforged%1B[2J?username=c\\x");
    feed.stop();
  }
  std::ifstream in(log);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 3u);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.rfind("lumora-feed: GET /", 0), 0u) << line;
    EXPECT_EQ(line.find('\r'), std::string::npos) << line;
    EXPECT_EQ(line.find('\x1b'), std::string::npos) << line;
  }
  EXPECT_TRUE(Contains(lines[0], "user=a\\x0D\\x0Alumora-feed: GET /feed user=admin: ok from 127.0.0.1")) << lines[0];
  EXPECT_TRUE(Contains(lines[1], "user=b\\x0Aforged")) << lines[1];
  EXPECT_TRUE(Contains(lines[2], "/feed\\x0Aforged\\x1B[2J user=c\\x5Cx")) << lines[2];
}

}  // namespace
}  // namespace lumora::e2e
