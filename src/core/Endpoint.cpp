#include "core/Endpoint.h"

#include <cctype>

#include "core/Context.h"
#include "core/DrawTexts.h"
#include "core/Text.h"

namespace lumora {

namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Scheme and host only: a URL shown to the player never carries its query.
std::string Origin(std::string_view url) {
  size_t start = url.find("://");
  start = start == std::string_view::npos ? 0 : start + 3;
  size_t end = url.find_first_of("/?#", start);
  return RedactSecrets(url.substr(0, end));
}

}  // namespace

UrlParts SplitUrl(std::string_view url) {
  UrlParts p;
  url = TrimView(url);
  size_t colon = url.find("://");
  if (colon == std::string_view::npos) return p;
  p.scheme = Lower(url.substr(0, colon));
  std::string_view authority = url.substr(colon + 3);
  authority = authority.substr(0, authority.find_first_of("/?#\\"));
  // "user:pass@host": the host is what follows the last '@'.
  if (size_t at = authority.rfind('@'); at != std::string_view::npos) authority = authority.substr(at + 1);
  if (!authority.empty() && authority[0] == '[') {
    size_t close = authority.find(']');
    p.host = Lower(authority.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  } else {
    p.host = Lower(authority.substr(0, authority.find(':')));
  }
  while (!p.host.empty() && p.host.back() == '.') p.host.pop_back();  // "localhost." is localhost
  return p;
}

bool IsLoopbackHost(std::string_view host) {
  if (host == "localhost" || host == "::1" || host == "0:0:0:0:0:0:0:1") return true;
  // 127.a.b.c in dotted decimal, each part 0..255.
  std::vector<std::string> parts = Split(host, ".");
  if (parts.size() != 4 || parts[0] != "127") return false;
  for (const std::string& part : parts) {
    if (part.empty() || part.size() > 3 || !IsDigits(part) || std::stoi(part) > 255) return false;
  }
  return true;
}

EndpointVerdict CheckEndpoint(std::string_view url, bool allowPlainHttp) {
  EndpointVerdict v;
  UrlParts p = SplitUrl(url);
  if ((p.scheme != "http" && p.scheme != "https") || p.host.empty()) {
    v.failure = HttpFailure::NotAllowed;
    v.reason = "服务地址 " + Origin(url) + " 不是 http:// 或 https:// 地址，请求未发送。请修正 lumora.ini。";
    return v;
  }
  if (p.scheme == "http" && !IsLoopbackHost(p.host)) {
    if (allowPlainHttp) {
      v.plainOffMachine = true;
      v.reason =
          "lumora.ini 允许以明文 HTTP 连接 " + p.host + "：账号和密码将不加密地经过网络。建议改用 https:// 地址。";
    } else {
      v.failure = HttpFailure::NotAllowed;
      v.reason = "服务地址 " + Origin(url) +
                 " 不在本机，却不是 https:// 地址：为保护账号密码，请求未发送。"
                 "请改用 https:// 地址，或在 lumora.ini 的 [service] 中写 allow_plain_http=1 明确允许明文传输。";
    }
  }
  return v;
}

std::string RedactSecrets(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    size_t hit = text.find("pw=", i);
    if (hit == std::string_view::npos) break;
    // Only a key of its own ("?pw=", "&pw=", at the start or after a blank), not "xpw=".
    const bool key =
        hit == 0 || text[hit - 1] == '?' || text[hit - 1] == '&' || text[hit - 1] == ' ' || text[hit - 1] == ';';
    out.append(text.substr(i, hit + 3 - i));
    i = hit + 3;
    if (!key) continue;
    size_t end = text.find_first_of("& \t\r\n\"'#", i);
    if (end == std::string_view::npos) end = text.size();
    if (end > i) out += "***";
    i = end;
  }
  out.append(text.substr(std::min(i, text.size())));
  return out;
}

bool MaySend(Context& cx, const std::string& url, HttpResult& refusal) {
  EndpointVerdict v = CheckEndpoint(url, cx.service.allowPlainHttp);
  if (v.failure == HttpFailure::None) {
    if (v.plainOffMachine && !cx.service.plainHttpWarned) {
      cx.service.plainHttpWarned = true;
      cx.inform(v.reason, draw_text::kTip);
    }
    return true;
  }
  refusal = HttpResult{};
  refusal.failure = v.failure;
  refusal.error = v.reason;
  if (!cx.service.refusalSaid) {
    cx.service.refusalSaid = true;
    cx.inform(v.reason, draw_text::kTip);
  }
  return false;
}

}  // namespace lumora
