// Fetch on Linux: cpp-httplib with OpenSSL.
#ifndef _WIN32
#include <httplib.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "cli/Fetch.h"
#include "core/Text.h"
#include "core/TextCodec.h"

namespace lumora::cli {

namespace {

HttpFailure VerifyFailure(long verifyResult) {
  switch (verifyResult) {
    case X509_V_OK:  // the chain was good: what failed is the host name check
      return HttpFailure::TlsWrongHost;
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID: return HttpFailure::TlsExpired;
    case X509_V_ERR_HOSTNAME_MISMATCH: return HttpFailure::TlsWrongHost;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
    case X509_V_ERR_CERT_UNTRUSTED:
    case X509_V_ERR_CERT_REJECTED:
    case X509_V_ERR_INVALID_CA: return HttpFailure::TlsUntrusted;
    default: return HttpFailure::TlsOther;
  }
}

}  // namespace

// GET `url` with a hard time limit (the request is stopped from outside when it runs over) and a
// size cap (the transfer is cut as soon as the body grows past it).
Fetched Fetch(const std::string& url, const FetchOptions& options) {
  Fetched out;
  const std::string origin = OriginOf(url);
  size_t schemeEnd = url.find("://");
  std::string scheme = schemeEnd == std::string::npos ? std::string() : url.substr(0, schemeEnd);
  if (scheme != "http" && scheme != "https") {
    out.failure = HttpFailure::NotAllowed;
    out.error = "not an http:// or https:// URL: " + origin;
    return out;
  }
  size_t pathStart = url.find('/', schemeEnd + 3);
  std::string target = pathStart == std::string::npos ? "/" : url.substr(pathStart);
  if (origin.size() <= schemeEnd + 3) {
    out.failure = HttpFailure::NotAllowed;
    out.error = "no host in " + origin;
    return out;
  }

  httplib::Client client(origin);
  if (!client.is_valid()) {
    out.failure = HttpFailure::NotAllowed;
    out.error = "cannot use " + origin;
    return out;
  }
  if (scheme == "https") {
    client.enable_server_certificate_verification(true);
    // The system's certificates and the named CA file together (the client takes the store).
    X509_STORE* store = X509_STORE_new();
    X509_STORE_set_default_paths(store);
    if (!options.caFile.empty() && X509_STORE_load_locations(store, options.caFile.c_str(), nullptr) != 1) {
      X509_STORE_free(store);
      out.failure = HttpFailure::TlsOther;
      out.error = "cannot read the CA file " + options.caFile;
      return out;
    }
    client.set_ca_cert_store(store);
  }
  auto limit = std::chrono::duration<double>(options.timeoutSeconds);
  // The socket's own limits lie a second beyond the watchdog's, so that a silent server is always
  // reported as the time-out it is, not as a failed read.
  auto whole = std::chrono::duration_cast<std::chrono::microseconds>(limit) + std::chrono::seconds(1);
  client.set_connection_timeout(std::chrono::duration_cast<std::chrono::seconds>(whole).count(),
                                static_cast<time_t>(whole.count() % 1000000));
  client.set_read_timeout(std::chrono::duration_cast<std::chrono::seconds>(whole).count(),
                          static_cast<time_t>(whole.count() % 1000000));
  // A redirect is not followed: it could lead off the checked host or off https.
  client.set_follow_location(false);

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
          if (body.size() + length > options.maxBytes) {
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
    out.failure = HttpFailure::Timeout;
    out.error = "no complete response within " + FormatNumber(options.timeoutSeconds) + " s from " + origin;
  } else if (tooLarge) {
    out.failure = HttpFailure::TooLarge;
    out.error = "the response is larger than " + std::to_string(options.maxBytes) + " bytes";
  } else if (error == httplib::Error::SSLServerVerification) {
    out.failure = VerifyFailure(client.get_openssl_verify_result());
    out.error = "refused " + origin + ": " + FailureWords(out.failure) + " (" +
                X509_verify_cert_error_string(client.get_openssl_verify_result()) + ")";
  } else if (error == httplib::Error::SSLConnection) {
    out.failure = HttpFailure::TlsOther;
    out.error = "cannot fetch " + origin + ": TLS handshake failed";
  } else if (error != httplib::Error::Success) {
    out.failure = HttpFailure::NoConnection;
    out.error = "cannot fetch " + origin + ": " + httplib::to_string(error);
  } else {
    out.body = DecodeText(body);
    out.status = status;
  }
  return out;
}

}  // namespace lumora::cli
#endif
