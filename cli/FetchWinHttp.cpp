// Fetch on Windows: the system's WinHTTP (its TLS and certificate checks are Windows' own).
// A CA file is checked here, by CryptoAPI: the server's certificate is taken from a first
// request that carries no account (unknown CAs allowed for it alone), its chain checked against
// the CA, and the request with the account goes out on a connection whose certificate is that
// checked one.
#ifdef _WIN32
#include <windows.h>
// (these need windows.h first)
#include <wincrypt.h>
#include <winhttp.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/Fetch.h"
#include "core/Files.h"
#include "core/Text.h"
#include "core/TextCodec.h"

namespace lumora::cli {

namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

struct Handle {
  HINTERNET h = nullptr;
  explicit Handle(HINTERNET x = nullptr) : h(x) {}
  ~Handle() { close(); }
  void close() {
    if (HINTERNET x = h) {
      h = nullptr;
      WinHttpCloseHandle(x);
    }
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
};

// What the status callback saw of the TLS checks.
struct Observed {
  std::atomic<DWORD> secureFlags{0};
};

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
  if (status != WINHTTP_CALLBACK_STATUS_SECURE_FAILURE || !context || !info || length < sizeof(DWORD)) return;
  reinterpret_cast<Observed*>(context)->secureFlags |= *static_cast<DWORD*>(info);
}

HttpFailure SecureFailure(DWORD error, DWORD flags) {
  if (error == ERROR_WINHTTP_SECURE_INVALID_CA || (flags & WINHTTP_CALLBACK_STATUS_FLAG_INVALID_CA))
    return HttpFailure::TlsUntrusted;
  if (error == ERROR_WINHTTP_SECURE_CERT_DATE_INVALID || (flags & WINHTTP_CALLBACK_STATUS_FLAG_CERT_DATE_INVALID))
    return HttpFailure::TlsExpired;
  if (error == ERROR_WINHTTP_SECURE_CERT_CN_INVALID || (flags & WINHTTP_CALLBACK_STATUS_FLAG_CERT_CN_INVALID))
    return HttpFailure::TlsWrongHost;
  return HttpFailure::TlsOther;
}

HttpFailure FailureOf(DWORD error, DWORD flags) {
  switch (error) {
    case ERROR_WINHTTP_TIMEOUT: return HttpFailure::Timeout;
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE: return HttpFailure::NoConnection;
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
    case ERROR_WINHTTP_INVALID_URL: return HttpFailure::NotAllowed;
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR: return SecureFailure(error, flags);
    default: return flags ? SecureFailure(error, flags) : HttpFailure::NoConnection;
  }
}

// The certificates of a PEM file, in a memory store; nothing when it holds none.
HCERTSTORE ReadCaFile(const std::string& path) {
  auto pem = ReadWholeFileBytes(PathFromUtf8(path));
  if (!pem) return nullptr;
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
  int added = 0;
  size_t at = 0;
  const std::string begin = "-----BEGIN CERTIFICATE-----", end = "-----END CERTIFICATE-----";
  while ((at = pem->find(begin, at)) != std::string::npos) {
    size_t stop = pem->find(end, at);
    if (stop == std::string::npos) break;
    stop += end.size();
    std::string one = pem->substr(at, stop - at);
    DWORD size = 0;
    if (CryptStringToBinaryA(one.c_str(), static_cast<DWORD>(one.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size,
                             nullptr, nullptr)) {
      std::vector<BYTE> der(size);
      if (CryptStringToBinaryA(one.c_str(), static_cast<DWORD>(one.size()), CRYPT_STRING_BASE64HEADER, der.data(),
                               &size, nullptr, nullptr) &&
          CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size, CERT_STORE_ADD_ALWAYS, nullptr))
        ++added;
    }
    at = stop;
  }
  if (!added) {
    CertCloseStore(store, 0);
    return nullptr;
  }
  return store;
}

// The server's certificate checked against the CA file: issued (signed) by one of its
// certificates, or one of them itself, and valid now. The host name is WinHTTP's own check.
HttpFailure CheckAgainstCa(PCCERT_CONTEXT server, HCERTSTORE ca) {
  PCCERT_CONTEXT issuer = nullptr;
  while ((issuer = CertEnumCertificatesInStore(ca, issuer))) {
    if (CertCompareCertificate(X509_ASN_ENCODING, server->pCertInfo, issuer->pCertInfo)) {
      CertFreeCertificateContext(issuer);
      return CertVerifyTimeValidity(nullptr, server->pCertInfo) == 0 ? HttpFailure::None : HttpFailure::TlsExpired;
    }
    if (!CertCompareCertificateName(X509_ASN_ENCODING, &server->pCertInfo->Issuer, &issuer->pCertInfo->Subject))
      continue;
    if (!CryptVerifyCertificateSignatureEx(0, X509_ASN_ENCODING, CRYPT_VERIFY_CERT_SIGN_SUBJECT_CERT,
                                           const_cast<CERT_CONTEXT*>(server), CRYPT_VERIFY_CERT_SIGN_ISSUER_CERT,
                                           const_cast<CERT_CONTEXT*>(issuer), 0, nullptr))
      continue;
    CertFreeCertificateContext(issuer);
    return CertVerifyTimeValidity(nullptr, server->pCertInfo) == 0 ? HttpFailure::None : HttpFailure::TlsExpired;
  }
  return HttpFailure::TlsUntrusted;
}

std::string Thumbprint(PCCERT_CONTEXT cert) {
  BYTE hash[20];
  DWORD size = sizeof hash;
  if (!CertGetCertificateContextProperty(cert, CERT_SHA1_HASH_PROP_ID, hash, &size)) return {};
  return std::string(reinterpret_cast<char*>(hash), size);
}

std::string ServerThumbprint(HINTERNET request) {
  PCCERT_CONTEXT cert = nullptr;
  DWORD size = sizeof cert;
  if (!WinHttpQueryOption(request, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &cert, &size) || !cert) return {};
  std::string t = Thumbprint(cert);
  CertFreeCertificateContext(cert);
  return t;
}

}  // namespace

Fetched Fetch(const std::string& url, const FetchOptions& options) {
  Fetched out;
  const std::string origin = OriginOf(url);
  std::wstring wurl = Wide(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = parts.dwSchemeLength =
      static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wurl.c_str(), 0, 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) ||
      parts.dwHostNameLength == 0) {
    out.failure = HttpFailure::NotAllowed;
    out.error = "not an http:// or https:// URL: " + origin;
    return out;
  }
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring target = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (target.empty()) target = L"/";

  HCERTSTORE ca = nullptr;
  if (secure && !options.caFile.empty()) {
    ca = ReadCaFile(options.caFile);
    if (!ca) {
      out.failure = HttpFailure::TlsOther;
      out.error = "cannot read the CA file " + options.caFile;
      return out;
    }
  }
  struct CaStore {
    HCERTSTORE s;
    ~CaStore() {
      if (s) CertCloseStore(s, 0);
    }
  } caGuard{ca};

  Handle session(
      WinHttpOpen(L"lumora-cli", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session.h) {
    out.failure = HttpFailure::Other;
    out.error = "WinHTTP is not available (" + std::to_string(GetLastError()) + ")";
    return out;
  }
  const int ms = static_cast<int>(options.timeoutSeconds * 1000);
  WinHttpSetTimeouts(session.h, ms, ms, ms, ms);
  Handle connection(WinHttpConnect(session.h, host.c_str(), parts.nPort, 0));
  Observed observed;

  // The whole exchange has a hard limit: a watchdog closes the handles when it runs over.
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false, timedOut = false;
  Handle request;
  Handle* active = nullptr;  // the request under way, closed by the watchdog when time runs out
  auto track = [&](Handle* h) {
    std::lock_guard lock(mutex);
    active = h;
    return !timedOut;
  };
  std::thread watchdog([&] {
    std::unique_lock lock(mutex);
    if (!finished.wait_for(lock, std::chrono::duration<double>(options.timeoutSeconds), [&] { return done; })) {
      timedOut = true;
      if (active) active->close();
    }
  });
  auto stopWatchdog = [&] {
    {
      std::lock_guard lock(mutex);
      done = true;
    }
    finished.notify_one();
    watchdog.join();
  };
  auto open = [&](const std::wstring& path, DWORD ignored) -> HINTERNET {
    if (!connection.h) return nullptr;
    HINTERNET r = WinHttpOpenRequest(connection.h, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                     WINHTTP_DEFAULT_ACCEPT_TYPES, secure ? WINHTTP_FLAG_SECURE : 0);
    if (!r) return nullptr;
    // A redirect is not followed: it could lead off the checked host or off https.
    DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(r, WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects);
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(&observed);
    WinHttpSetOption(r, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
    WinHttpSetStatusCallback(r, OnStatus, WINHTTP_CALLBACK_FLAG_SECURE_FAILURE, 0);
    if (ignored) WinHttpSetOption(r, WINHTTP_OPTION_SECURITY_FLAGS, &ignored, sizeof ignored);
    return r;
  };
  std::wstring pathOnly(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (pathOnly.empty()) pathOnly = L"/";
  // A request for the path alone, without the query and so without the account, with the given
  // certificate checks left out; true when an answer came. Its connection is not kept (a kept one
  // would carry the next probe without a new handshake, so without the checks put back).
  auto probe = [&](DWORD ignored, std::string* thumbprint) {
    Handle r(open(pathOnly, ignored));
    DWORD noKeepAlive = WINHTTP_DISABLE_KEEP_ALIVE;
    if (r.h) WinHttpSetOption(r.h, WINHTTP_OPTION_DISABLE_FEATURE, &noKeepAlive, sizeof noKeepAlive);
    if (!r.h || !track(&r) ||
        !WinHttpSendRequest(r.h, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(r.h, nullptr)) {
      track(nullptr);
      return false;
    }
    if (thumbprint) *thumbprint = ServerThumbprint(r.h);
    char sink[4096];
    DWORD got = 0;
    while (WinHttpReadData(r.h, sink, sizeof sink, &got) && got > 0) {
    }
    track(nullptr);
    return true;
  };
  // Which check failed (the TLS layer under Wine names none of them in its error): with every
  // certificate check left out an answer must come; then each check alone is put back, the most
  // telling first (an untrusted chain, then the dates, then the host name), until one fails.
  auto diagnose = [&](DWORD alreadyIgnored) {
    constexpr DWORD kAll =
        SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_CERT_CN_INVALID;
    if (!probe(kAll, nullptr)) return timedOut ? HttpFailure::Timeout : HttpFailure::TlsOther;
    const std::pair<DWORD, HttpFailure> checks[] = {{SECURITY_FLAG_IGNORE_UNKNOWN_CA, HttpFailure::TlsUntrusted},
                                                    {SECURITY_FLAG_IGNORE_CERT_DATE_INVALID, HttpFailure::TlsExpired},
                                                    {SECURITY_FLAG_IGNORE_CERT_CN_INVALID, HttpFailure::TlsWrongHost}};
    for (const auto& [flag, failure] : checks) {
      if (alreadyIgnored & flag) continue;
      if (!probe(kAll & ~flag, nullptr)) return timedOut ? HttpFailure::Timeout : failure;
    }
    return HttpFailure::TlsOther;
  };
  auto isSecureError = [](DWORD e) {
    return (e >= ERROR_WINHTTP_SECURE_CERT_DATE_INVALID && e <= ERROR_WINHTTP_SECURE_INVALID_CERT) ||
           e == ERROR_WINHTTP_SECURE_FAILURE || e == ERROR_WINHTTP_SECURE_CHANNEL_ERROR ||
           e == ERROR_WINHTTP_SECURE_CERT_REV_FAILED || e == ERROR_WINHTTP_SECURE_CERT_REVOKED ||
           e == ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE;
  };

  auto fail = [&](HttpFailure f, const std::string& text) {
    out.failure = f;
    out.error = text;
  };
  auto transferError = [&](DWORD e, DWORD ignored) {
    if (timedOut)
      return fail(HttpFailure::Timeout,
                  "no complete response within " + FormatNumber(options.timeoutSeconds) + " s from " + origin);
    HttpFailure f = FailureOf(e, observed.secureFlags);
    if (secure && isSecureError(e) && (f == HttpFailure::TlsOther || e == ERROR_WINHTTP_SECURE_FAILURE))
      f = diagnose(ignored);
    fail(f, "cannot fetch " + origin + ": " + FailureWords(f) + " (WinHTTP error " + std::to_string(e) + ")");
  };

  // With a CA file: the certificate is fetched without the account, unknown CAs and dates left to
  // the check here (the host name stays WinHTTP's), and pinned for the request with the account.
  constexpr DWORD kCaProbe = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID;
  std::string pinned;
  if (ca) {
    PCCERT_CONTEXT cert = nullptr;
    HttpFailure verdict = HttpFailure::TlsOther;
    {
      Handle r(open(pathOnly, kCaProbe));
      if (!r.h || !track(&r) ||
          !WinHttpSendRequest(r.h, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
          !WinHttpReceiveResponse(r.h, nullptr)) {
        DWORD e = GetLastError();
        track(nullptr);
        transferError(e, kCaProbe);
        stopWatchdog();
        return out;
      }
      DWORD size = sizeof cert;
      if (WinHttpQueryOption(r.h, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &cert, &size) && cert) {
        verdict = CheckAgainstCa(cert, ca);
        pinned = Thumbprint(cert);
        CertFreeCertificateContext(cert);
      }
      char sink[4096];
      DWORD got = 0;
      while (WinHttpReadData(r.h, sink, sizeof sink, &got) && got > 0) {
      }
      track(nullptr);
    }
    if (verdict != HttpFailure::None) {
      fail(verdict, "refused " + origin + ": " + FailureWords(verdict) + " (checked against " + options.caFile + ")");
      stopWatchdog();
      return out;
    }
  }

  const DWORD ignored = ca ? SECURITY_FLAG_IGNORE_UNKNOWN_CA : 0;
  request.h = open(target, ignored);
  bool sent = request.h && track(&request) &&
              WinHttpSendRequest(request.h, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) &&
              WinHttpReceiveResponse(request.h, nullptr);
  if (!sent) {
    DWORD e = GetLastError();
    track(nullptr);
    transferError(e, ignored);
    stopWatchdog();
    return out;
  }
  if (ca && ServerThumbprint(request.h) != pinned) {
    // Another certificate than the one checked: the answer is not believed.
    fail(HttpFailure::TlsUntrusted, "refused " + origin + ": the server changed its certificate between two requests");
    stopWatchdog();
    return out;
  }
  DWORD status = 0, size = sizeof status;
  WinHttpQueryHeaders(request.h, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                      &status, &size, WINHTTP_NO_HEADER_INDEX);
  std::string body;
  std::vector<char> buffer(16384);
  for (;;) {
    DWORD got = 0;
    if (!WinHttpReadData(request.h, buffer.data(), static_cast<DWORD>(buffer.size()), &got)) {
      transferError(GetLastError(), ignored);
      stopWatchdog();
      return out;
    }
    if (got == 0) break;
    if (body.size() + got > options.maxBytes) {
      stopWatchdog();
      fail(HttpFailure::TooLarge, "the response is larger than " + std::to_string(options.maxBytes) + " bytes");
      return out;
    }
    body.append(buffer.data(), got);
  }
  stopWatchdog();
  if (timedOut) {
    fail(HttpFailure::Timeout,
         "no complete response within " + FormatNumber(options.timeoutSeconds) + " s from " + origin);
    return out;
  }
  out.status = static_cast<int>(status);
  out.body = DecodeText(body);
  return out;
}

}  // namespace lumora::cli
#endif
