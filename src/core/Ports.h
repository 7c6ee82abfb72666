#pragma once
// Ports: everything outside the process that the engine talks to. The shell provides the real
// implementations (ui/), tests and lumora-cli provide doubles (core/RecordingPorts.h).
#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "core/Recorder.h"

namespace lumora {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void clear() = 0;
  virtual void setText(const std::string& utf8) = 0;
  virtual std::string text() = 0;
};

class Sound {
 public:
  virtual ~Sound() = default;
  // Plays a wav file without blocking; when it cannot be played, the system beep sounds instead.
  virtual void play(const std::string& wavPath) = 0;
  virtual void stop() = 0;
};

// Message boxes and input boxes. Texts and titles are the design's, UTF-8, CR LF line breaks.
// Nothing here waits for the user: a notice is shown and the operation goes on at once; a
// question returns at once and its answer arrives later, as an operation of its own that the
// shell runs through the session's gate (never inside the operation that asked, never on top of
// another one). A question nobody answers (the program ends first) never calls back.
class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual void inform(const std::string& text, const std::string& title) = 0;
  virtual void askYesNo(const std::string& text, const std::string& title, std::function<void(bool)> answer) = 0;
  // The reply of an input box; nothing when it was cancelled.
  virtual void askText(const std::string& prompt, const std::string& title, const std::string& initial,
                       std::function<void(std::optional<std::string>)> reply) = 0;
};

// Why an exchange gave no usable response. The Http ports fill it; the feed's status line names it.
enum class HttpFailure {
  None,          // a complete response arrived (its status may still be an error)
  NoConnection,  // refused, unreachable, name not found, connection dropped
  Timeout,       // no complete response within the time limit
  TooLarge,      // the response grew past the size cap
  TlsUntrusted,  // the certificate chain is not trusted (unknown or private CA, self-signed)
  TlsWrongHost,  // the certificate does not name the host asked for
  TlsExpired,    // the certificate is expired or not yet valid
  TlsOther,      // any other TLS failure (handshake, protocol)
  NotAllowed,    // refused before sending: unknown scheme, or plain HTTP off this machine
  Other,
};

struct HttpResult {
  bool ok = false;    // a complete response arrived (any status)
  int status = 0;     // HTTP status, 0 without a response
  std::string body;   // the response body as text (UTF-8, or GBK decoded)
  std::string error;  // why there is no response: "timeout", "too large", a network error text
                      // (never holds the request's URL: it may carry the account's password)
  HttpFailure failure = HttpFailure::None;
};

// Asynchronous GET. One outstanding request per channel: a later request on the same channel
// aborts the earlier one, whose callback is then never called.
class Http {
 public:
  virtual ~Http() = default;
  virtual void get(int channel, const std::string& url, int timeoutMs, std::size_t maxBytes,
                   std::function<void(const HttpResult&)> done) = 0;
  virtual void abort(int channel) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::chrono::system_clock::time_point now() = 0;
};

class SystemClock final : public Clock {
 public:
  std::chrono::system_clock::time_point now() override { return std::chrono::system_clock::now(); }
};

// Local date and time as the program writes it in logs and lines: "2026-12-08 06:13:37".
std::string DateTimeText(std::chrono::system_clock::time_point t);
// Local time of day "06:13:37".
std::string TimeText(std::chrono::system_clock::time_point t);

struct Ports {
  Clipboard* clipboard = nullptr;
  Sound* sound = nullptr;
  Prompter* prompter = nullptr;
  Http* http = nullptr;
  Clock* clock = nullptr;
  Recorder* recorder = nullptr;  // optional: nothing is recorded without one
};

}  // namespace lumora
