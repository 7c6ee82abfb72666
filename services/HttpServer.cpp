#include "services/HttpServer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <list>
#include <mutex>
#include <thread>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#ifdef LUMORA_FEED_TLS
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#endif

#include "core/Text.h"

namespace lumora::feed {

namespace {

using Clock = std::chrono::steady_clock;

#ifdef _WIN32
using Socket = SOCKET;
const Socket kNoSocket = INVALID_SOCKET;
using PollFd = WSAPOLLFD;
void CloseSocket(Socket s) { closesocket(s); }
int PollAll(PollFd* fds, size_t n, int ms) { return WSAPoll(fds, static_cast<ULONG>(n), ms); }
bool WouldBlock() { return WSAGetLastError() == WSAEWOULDBLOCK; }
void SetBlocking(Socket s, bool blocking) {
  u_long mode = blocking ? 0 : 1;
  ioctlsocket(s, FIONBIO, &mode);
}
void SetSendTimeout(Socket s, double seconds) {
  DWORD ms = static_cast<DWORD>(seconds * 1000);
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
}
constexpr int kSendFlags = 0;
constexpr int kShutWrite = SD_SEND;
#else
using Socket = int;
const Socket kNoSocket = -1;
using PollFd = pollfd;
void CloseSocket(Socket s) { ::close(s); }
int PollAll(PollFd* fds, size_t n, int ms) { return ::poll(fds, static_cast<nfds_t>(n), ms); }
bool WouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR; }
void SetBlocking(Socket s, bool blocking) {
  int flags = fcntl(s, F_GETFL, 0);
  fcntl(s, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK));
}
void SetSendTimeout(Socket s, double seconds) {
  timeval tv{};
  tv.tv_sec = static_cast<time_t>(seconds);
  tv.tv_usec = static_cast<suseconds_t>((seconds - static_cast<double>(tv.tv_sec)) * 1e6);
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
}
constexpr int kSendFlags = MSG_NOSIGNAL;
constexpr int kShutWrite = SHUT_WR;
#endif

#ifdef LUMORA_FEED_TLS
using Tls = SSL;
#else
struct Tls;
#endif

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 413: return "Content Too Large";
    case 414: return "URI Too Long";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
  }
}

std::string Head(int status, const std::string& contentType, size_t length,
                 const std::vector<std::pair<std::string, std::string>>& headers) {
  std::string head = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
  head += "Content-Type: " + contentType + "\r\nContent-Length: " + std::to_string(length) + "\r\n";
  for (const auto& [k, v] : headers) head += k + ": " + v + "\r\n";
  return head + "Connection: close\r\n\r\n";
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Decode(std::string_view text, bool plusIsBlank) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%' && i + 2 < text.size()) {
      int hi = HexDigit(text[i + 1]), lo = HexDigit(text[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        continue;
      }
    }
    out.push_back(plusIsBlank && c == '+' ? ' ' : c);
  }
  return out;
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

// A connection still sending its request.
struct Pending {
  Socket sock = kNoSocket;
  Tls* tls = nullptr;
  bool handshaken = false;
  bool wantWrite = false;
  std::string remote;
  Clock::time_point deadline;
  std::string data;
  size_t headEnd = std::string::npos;  // where the body begins, once the head is complete
  size_t total = 0;                    // head and body, once known
  HttpRequest request;
};

}  // namespace

bool HttpRequest::has(std::string_view key) const {
  return std::any_of(params.begin(), params.end(), [&](const auto& p) { return p.first == key; });
}

std::string HttpRequest::param(std::string_view key) const {
  for (const auto& [k, v] : params)
    if (k == key) return v;
  return {};
}

std::vector<std::pair<std::string, std::string>> ParseQuery(std::string_view query) {
  std::vector<std::pair<std::string, std::string>> out;
  size_t start = 0;
  while (start <= query.size()) {
    size_t end = query.find('&', start);
    if (end == std::string_view::npos) end = query.size();
    std::string_view pair = query.substr(start, end - start);
    if (!pair.empty()) {
      size_t eq = pair.find('=');
      if (eq == std::string_view::npos) out.emplace_back(Decode(pair, true), std::string());
      else out.emplace_back(Decode(pair.substr(0, eq), true), Decode(pair.substr(eq + 1), true));
    }
    start = end + 1;
  }
  return out;
}

struct HttpServer::Impl {
  HttpLimits limits;
  Handler handler;
  Socket listener = kNoSocket;
  std::atomic<bool> stopping{false};
#ifdef LUMORA_FEED_TLS
  SSL_CTX* tlsContext = nullptr;
#endif

  std::mutex queueMutex;
  std::condition_variable queueReady;
  std::deque<Pending> queue;

  // --- reading a connection ---------------------------------------------------------------

  // Reads what there is: >0 bytes, 0 when nothing more now, -1 when the connection is gone.
  long readSome(Pending& c, char* buf, size_t size) {
#ifdef LUMORA_FEED_TLS
    if (c.tls) {
      int n = SSL_read(c.tls, buf, static_cast<int>(size));
      if (n > 0) return n;
      int e = SSL_get_error(c.tls, n);
      c.wantWrite = e == SSL_ERROR_WANT_WRITE;
      return e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE ? 0 : -1;
    }
#endif
    auto n = ::recv(c.sock, buf, static_cast<int>(size), 0);
    if (n > 0) return static_cast<long>(n);
    if (n < 0 && WouldBlock()) return 0;
    return -1;
  }

  // Writes all of `data` (the socket blocks with a time-out); false when it could not.
  bool sendAll(Socket sock, Tls* tls, std::string_view data) {
#ifndef LUMORA_FEED_TLS
    (void)tls;
#endif
    while (!data.empty()) {
      size_t chunk = std::min<size_t>(data.size(), 64 * 1024);
      long n;
#ifdef LUMORA_FEED_TLS
      if (tls) n = SSL_write(tls, data.data(), static_cast<int>(chunk));
      else
#endif
        n = static_cast<long>(::send(sock, data.data(), static_cast<int>(chunk), kSendFlags));
      if (n <= 0) return false;
      data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
  }

  void closeConnection(Socket sock, Tls* tls) {
#ifdef LUMORA_FEED_TLS
    if (tls) {
      SSL_shutdown(tls);
      SSL_free(tls);
    }
#else
    (void)tls;
#endif
    ::shutdown(sock, kShutWrite);
    CloseSocket(sock);
  }

  // Answers `status` at once, as far as the socket takes it without waiting, and closes.
  void refuse(Pending& c, int status) {
    std::string text = std::string(Reason(status)) + "\n";
    std::string answer = Head(status, "text/plain; charset=utf-8", text.size(), {}) + text;
    if (!c.tls || c.handshaken) {
#ifdef LUMORA_FEED_TLS
      if (c.tls) SSL_write(c.tls, answer.data(), static_cast<int>(answer.size()));
      else
#endif
        (void)::send(c.sock, answer.data(), static_cast<int>(answer.size()), kSendFlags);
    }
    closeConnection(c.sock, c.tls);
    c.sock = kNoSocket;
  }

  // Parses a complete head; 0 when it is fine, else the status that refuses it.
  int parseHead(Pending& c) {
    std::string_view head(c.data.data(), c.headEnd);
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < head.size()) {
      size_t end = head.find('\n', start);
      if (end == std::string_view::npos) end = head.size();
      std::string_view line = head.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (!line.empty()) lines.push_back(line);
      start = end + 1;
    }
    if (lines.empty()) return 400;
    if (static_cast<int>(lines.size()) - 1 > limits.maxHeaders) return 431;
    std::string_view first = lines[0];
    size_t sp1 = first.find(' '), sp2 = first.rfind(' ');
    if (sp1 == std::string_view::npos || sp2 == sp1) return 400;
    std::string_view target = first.substr(sp1 + 1, sp2 - sp1 - 1);
    if (!first.substr(sp2 + 1).starts_with("HTTP/1.") || target.empty() || target[0] != '/') return 400;
    c.request.method = std::string(first.substr(0, sp1));
    c.request.remoteAddress = c.remote;
    size_t q = target.find('?');
    c.request.path = Decode(target.substr(0, q), false);
    if (q != std::string_view::npos) c.request.params = ParseQuery(target.substr(q + 1));
    bool haveLength = false;
    size_t length = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
      size_t colon = lines[i].find(':');
      if (colon == std::string_view::npos || colon == 0) return 400;
      std::string name = LowerAscii(std::string(lines[i].substr(0, colon)));
      std::string value = Trim(std::string(lines[i].substr(colon + 1)));
      if (name == "transfer-encoding") return 411;
      if (name != "content-length") continue;
      if (haveLength || value.empty() || value.size() > 18 || !IsDigits(value)) return 400;
      haveLength = true;
      length = std::stoull(value);
    }
    if (c.request.method != "GET" && c.request.method != "HEAD") return 405;
    if (length > limits.maxBodyBytes) return 413;
    c.total = c.headEnd + length;
    return 0;
  }

  enum class Step { Wait, Ready, Gone };

  // Takes what the socket holds; refuses the request once it breaks a limit.
  Step progress(Pending& c) {
#ifdef LUMORA_FEED_TLS
    if (c.tls && !c.handshaken) {
      int r = SSL_accept(c.tls);
      if (r != 1) {
        int e = SSL_get_error(c.tls, r);
        c.wantWrite = e == SSL_ERROR_WANT_WRITE;
        if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) return Step::Wait;
        closeConnection(c.sock, c.tls);
        c.tls = nullptr;
        c.sock = kNoSocket;
        return Step::Gone;
      }
      c.handshaken = true;
      c.wantWrite = false;
    }
#endif
    char buf[16 * 1024];
    for (;;) {
      size_t room = c.headEnd == std::string::npos ? limits.maxHeadBytes + 1 - c.data.size() : c.total - c.data.size();
      if (room == 0) break;
      long n = readSome(c, buf, std::min(room, sizeof buf));
      if (n == 0) return Step::Wait;
      if (n < 0) {
        closeConnection(c.sock, c.tls);
        c.sock = kNoSocket;
        return Step::Gone;
      }
      size_t from = c.data.size() >= 3 ? c.data.size() - 3 : 0;
      c.data.append(buf, static_cast<size_t>(n));
      if (c.headEnd != std::string::npos) {
        if (c.data.size() >= c.total) break;
        continue;
      }
      size_t end = c.data.find("\r\n\r\n", from);
      if (end != std::string::npos) {
        c.headEnd = end + 4;
      } else if (size_t lf = c.data.find("\n\n", from ? from + 1 : 0); lf != std::string::npos) {
        c.headEnd = lf + 2;
      }
      if (c.headEnd == std::string::npos) {
        if (c.data.size() > limits.maxHeadBytes) {
          refuse(c, c.data.find('\n') == std::string::npos ? 414 : 431);
          return Step::Gone;
        }
        // Too many header lines shows before the head ends.
        if (std::count(c.data.begin(), c.data.end(), '\n') > limits.maxHeaders + 1) {
          refuse(c, 431);
          return Step::Gone;
        }
        continue;
      }
      if (int status = parseHead(c)) {
        refuse(c, status);
        return Step::Gone;
      }
      if (c.data.size() >= c.total) break;
    }
    return Step::Ready;
  }

  // --- answering ----------------------------------------------------------------------------

  void answer(Pending& c) {
    SetBlocking(c.sock, true);
    SetSendTimeout(c.sock, limits.sendSeconds);
    HttpResponse res;
    try {
      handler(c.request, res);
    } catch (...) {
      res = HttpResponse();
      res.status = 500;
      res.body = "internal error\n";
    }
    std::string head = Head(res.status, res.contentType, res.body.size(), res.headers);
    if (c.request.method == "HEAD") {
      sendAll(c.sock, c.tls, head);
    } else if (res.spreadSeconds <= 0) {
      sendAll(c.sock, c.tls, head + res.body);
    } else if (sendAll(c.sock, c.tls, head)) {
      constexpr int kPieces = 50;
      size_t piece = std::max<size_t>(1, (res.body.size() + kPieces - 1) / kPieces);
      auto pause = std::chrono::duration<double>(res.spreadSeconds / kPieces);
      for (size_t at = 0; at < res.body.size() && !stopping; at += piece) {
        auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(pause);
        while (!stopping && Clock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (stopping || !sendAll(c.sock, c.tls, std::string_view(res.body).substr(at, piece))) break;
      }
    }
    closeConnection(c.sock, c.tls);
  }

  void work() {
    for (;;) {
      Pending c;
      {
        std::unique_lock lock(queueMutex);
        queueReady.wait(lock, [&] { return stopping || !queue.empty(); });
        if (queue.empty()) return;
        c = std::move(queue.front());
        queue.pop_front();
      }
      if (stopping) {
        closeConnection(c.sock, c.tls);
        continue;
      }
      answer(c);
    }
  }

  // --- the reading loop -----------------------------------------------------------------------

  void accept(std::list<Pending>& pending) {
    for (;;) {
      sockaddr_storage addr{};
      socklen_t len = sizeof addr;
      Socket s = ::accept(listener, reinterpret_cast<sockaddr*>(&addr), &len);
      if (s == kNoSocket) return;
      SetBlocking(s, false);
      Pending c;
      c.sock = s;
      c.deadline = Clock::now() +
                   std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(limits.requestSeconds));
      char host[NI_MAXHOST] = "";
      if (getnameinfo(reinterpret_cast<sockaddr*>(&addr), len, host, sizeof host, nullptr, 0, NI_NUMERICHOST) == 0)
        c.remote = host;
#ifdef LUMORA_FEED_TLS
      if (tlsContext) {
        c.tls = SSL_new(tlsContext);
        if (!c.tls) {
          CloseSocket(s);
          continue;
        }
        SSL_set_fd(c.tls, static_cast<int>(s));
      }
#endif
      // Full: the connection that has waited longest for its request makes room.
      if (static_cast<int>(pending.size()) >= limits.maxConnections) {
        refuse(pending.front(), 503);
        pending.pop_front();
      }
      pending.push_back(std::move(c));
    }
  }

  bool loop() {
    SetBlocking(listener, false);
    std::list<Pending> pending;
    std::vector<PollFd> fds;
    std::vector<std::list<Pending>::iterator> order;
    bool ok = true;
    while (!stopping) {
      fds.clear();
      order.clear();
      fds.push_back(PollFd{listener, POLLIN, 0});
      for (auto it = pending.begin(); it != pending.end(); ++it) {
        fds.push_back(PollFd{it->sock, static_cast<short>(it->wantWrite ? POLLOUT : POLLIN), 0});
        order.push_back(it);
      }
      int n = PollAll(fds.data(), fds.size(), 100);
      if (n < 0 && !WouldBlock()) {
        ok = false;
        break;
      }
      for (size_t i = 1; i < fds.size(); ++i) {
        auto it = order[i - 1];
        if (fds[i].revents == 0) continue;
        Step step = progress(*it);
        if (step == Step::Gone) {
          pending.erase(it);
        } else if (step == Step::Ready) {
          Pending ready = std::move(*it);
          pending.erase(it);
          std::unique_lock lock(queueMutex);
          if (queue.size() >= limits.maxQueued) {
            lock.unlock();
            refuse(ready, 503);
          } else {
            queue.push_back(std::move(ready));
            queueReady.notify_one();
          }
        }
      }
      if (fds[0].revents & POLLIN) accept(pending);
      // A request not complete in time is refused: a slow sender keeps its place only so long.
      auto now = Clock::now();
      for (auto it = pending.begin(); it != pending.end();) {
        if (now < it->deadline) {
          ++it;
          continue;
        }
        refuse(*it, 408);
        it = pending.erase(it);
      }
    }
    for (Pending& c : pending) closeConnection(c.sock, c.tls);
    return ok;
  }
};

HttpServer::HttpServer(HttpLimits limits, Handler handler) : impl_(std::make_unique<Impl>()) {
#ifdef _WIN32
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
#endif
  impl_->limits = limits;
  impl_->handler = std::move(handler);
}

HttpServer::~HttpServer() {
  if (impl_->listener != kNoSocket) CloseSocket(impl_->listener);
#ifdef LUMORA_FEED_TLS
  if (impl_->tlsContext) SSL_CTX_free(impl_->tlsContext);
#endif
}

bool HttpServer::TlsBuiltIn() {
#ifdef LUMORA_FEED_TLS
  return true;
#else
  return false;
#endif
}

bool HttpServer::useTls(const std::string& certFile, const std::string& keyFile, std::string& error) {
#ifdef LUMORA_FEED_TLS
  SSL_CTX* ctx = SSL_CTX_new(TLS_server_method());
  auto fail = [&](const std::string& what) {
    unsigned long e = ERR_get_error();
    char text[256] = "";
    if (e) ERR_error_string_n(e, text, sizeof text);
    error = what + (e ? std::string(": ") + text : std::string());
    ERR_clear_error();
    if (ctx) SSL_CTX_free(ctx);
    return false;
  };
  if (!ctx) return fail("cannot set up TLS");
  SSL_CTX_set_min_proto_version(ctx, TLS1_2_VERSION);
  if (SSL_CTX_use_certificate_chain_file(ctx, certFile.c_str()) != 1)
    return fail("cannot read the certificate " + certFile);
  if (SSL_CTX_use_PrivateKey_file(ctx, keyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
    if (ERR_GET_REASON(ERR_peek_last_error()) == X509_R_KEY_VALUES_MISMATCH)
      return fail("the key " + keyFile + " does not belong to the certificate " + certFile);
    return fail("cannot read the key " + keyFile);
  }
  if (SSL_CTX_check_private_key(ctx) != 1) return fail("the key " + keyFile + " does not belong to " + certFile);
  if (impl_->tlsContext) SSL_CTX_free(impl_->tlsContext);
  impl_->tlsContext = ctx;
  return true;
#else
  (void)certFile;
  (void)keyFile;
  error = "this lumora-feed is built without TLS";
  return false;
#endif
}

int HttpServer::bind(const std::string& host, int port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.empty() ? nullptr : host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
  int bound = -1;
  for (addrinfo* a = found; a && bound < 0; a = a->ai_next) {
    Socket s = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
    if (s == kNoSocket) continue;
#ifndef _WIN32
    int yes = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
#endif
    if (::bind(s, a->ai_addr, static_cast<socklen_t>(a->ai_addrlen)) != 0 || ::listen(s, 128) != 0) {
      CloseSocket(s);
      continue;
    }
    sockaddr_storage addr{};
    socklen_t len = sizeof addr;
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    bound = addr.ss_family == AF_INET6 ? ntohs(reinterpret_cast<sockaddr_in6*>(&addr)->sin6_port)
                                       : ntohs(reinterpret_cast<sockaddr_in*>(&addr)->sin_port);
    impl_->listener = s;
  }
  freeaddrinfo(found);
  return bound;
}

bool HttpServer::serve() {
  if (impl_->stopping) return true;
  if (impl_->listener == kNoSocket) return false;
  std::vector<std::thread> workers;
  for (int i = 0; i < impl_->limits.workers; ++i) workers.emplace_back([this] { impl_->work(); });
  bool ok = impl_->loop();
  impl_->stopping = true;
  impl_->queueReady.notify_all();
  for (std::thread& t : workers) t.join();
  CloseSocket(impl_->listener);
  impl_->listener = kNoSocket;
  return ok;
}

void HttpServer::stop() {
  impl_->stopping = true;
  std::lock_guard lock(impl_->queueMutex);
  impl_->queueReady.notify_all();
}

bool HttpServer::stopping() const { return impl_->stopping; }

}  // namespace lumora::feed
