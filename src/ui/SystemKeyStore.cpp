#include "ui/SystemKeyStore.h"

#ifdef _WIN32
#include <windows.h>
// (these need windows.h first)
#include <wincred.h>

#include <vector>
#else
#include <qt6keychain/keychain.h>
#include <QEventLoop>
#endif

#include <QString>

namespace lumora {

namespace {

#ifdef _WIN32
// Generic credentials of the user, target "Lumora/<key>"; the secret is the UTF-8 bytes.
class CredentialManager final : public KeyStore {
 public:
  std::optional<std::string> read(const std::string& key, std::string& error) override {
    PCREDENTIALW cred = nullptr;
    std::wstring target = Target(key);
    if (!CredReadW(target.c_str(), CRED_TYPE_GENERIC, 0, &cred)) {
      DWORD e = GetLastError();
      if (e != ERROR_NOT_FOUND) error = "CredRead " + std::to_string(e);
      return std::nullopt;
    }
    std::string secret(reinterpret_cast<const char*>(cred->CredentialBlob), cred->CredentialBlobSize);
    SecureZeroMemory(cred->CredentialBlob, cred->CredentialBlobSize);
    CredFree(cred);
    return secret;
  }
  bool write(const std::string& key, const std::string& secret, std::string& error) override {
    std::wstring target = Target(key);
    std::vector<BYTE> blob(secret.begin(), secret.end());
    CREDENTIALW cred{};
    cred.Type = CRED_TYPE_GENERIC;
    cred.TargetName = target.data();
    cred.CredentialBlobSize = static_cast<DWORD>(blob.size());
    cred.CredentialBlob = blob.data();
    cred.Persist = CRED_PERSIST_LOCAL_MACHINE;
    wchar_t user[] = L"lumora";
    cred.UserName = user;
    if (!CredWriteW(&cred, 0)) {
      error = "CredWrite " + std::to_string(GetLastError());
      return false;
    }
    return true;
  }

 private:
  static std::wstring Target(const std::string& key) {
    return (QStringLiteral("Lumora/") + QString::fromStdString(key)).toStdWString();
  }
};
#else
// Secret Service over D-Bus, waited for in a local event loop.
class SecretService final : public KeyStore {
 public:
  std::optional<std::string> read(const std::string& key, std::string& error) override {
    QKeychain::ReadPasswordJob job(kService);
    job.setAutoDelete(false);
    job.setKey(QString::fromStdString(key));
    if (!Run(job, error)) return std::nullopt;
    return job.textData().toStdString();
  }
  bool write(const std::string& key, const std::string& secret, std::string& error) override {
    QKeychain::WritePasswordJob job(kService);
    job.setAutoDelete(false);
    job.setKey(QString::fromStdString(key));
    job.setTextData(QString::fromStdString(secret));
    return Run(job, error);
  }

 private:
  static constexpr const char* kService = "Lumora";
  static bool Run(QKeychain::Job& job, std::string& error) {
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    if (job.error() == QKeychain::NoError) return true;
    if (job.error() != QKeychain::EntryNotFound) error = job.errorString().toStdString();
    return false;
  }
};
#endif

}  // namespace

std::unique_ptr<KeyStore> SystemKeyStore() {
#ifdef _WIN32
  return std::make_unique<CredentialManager>();
#else
  return std::make_unique<SecretService>();
#endif
}

}  // namespace lumora
