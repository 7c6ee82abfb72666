#include "ui/QtPorts.h"

#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>
#include <QUrl>

#include "core/Endpoint.h"
#include "core/TextCodec.h"

namespace lumora {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
// Message boxes show "\n"; the engine's texts carry CR LF.
QString Lf(const std::string& s) { return Q(s).replace("\r\n", "\n"); }
}  // namespace

void QtClipboard::clear() { QApplication::clipboard()->clear(); }
void QtClipboard::setText(const std::string& utf8) { QApplication::clipboard()->setText(Q(utf8)); }
std::string QtClipboard::text() { return QApplication::clipboard()->text().toStdString(); }

void QtPrompter::inform(const std::string& text, const std::string& title) {
  auto key = std::make_pair(title, text);
  if (!open_.insert(key).second) return;
  auto* box = new QMessageBox(QMessageBox::Information, Q(title), Lf(text), QMessageBox::Ok, parent_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  QObject::connect(box, &QObject::destroyed, &context_, [this, key] { open_.erase(key); });
  box->show();
}

void QtPrompter::askYesNo(const std::string& text, const std::string& title, std::function<void(bool)> answer) {
  auto* box = new QMessageBox(QMessageBox::Question, Q(title), Lf(text), QMessageBox::Yes | QMessageBox::No, parent_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(parent_ ? Qt::WindowModal : Qt::ApplicationModal);
  // Closing the box with its title bar or Esc counts as No.
  QObject::connect(box, &QDialog::finished, &context_, [this, box, answer = std::move(answer)](int) {
    bool yes = box->standardButton(box->clickedButton()) == QMessageBox::Yes;
    dispatch_([answer, yes] { answer(yes); });
  });
  box->show();
}

void QtPrompter::askText(const std::string& prompt, const std::string& title, const std::string& initial,
                         std::function<void(std::optional<std::string>)> reply) {
  auto* box = new QInputDialog(parent_);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(parent_ ? Qt::WindowModal : Qt::ApplicationModal);
  box->setWindowTitle(Q(title));
  box->setLabelText(Lf(prompt));
  box->setTextValue(Q(initial));
  QObject::connect(box, &QDialog::finished, &context_, [this, box, reply = std::move(reply)](int result) {
    std::optional<std::string> r;
    if (result == QDialog::Accepted) r = box->textValue().toStdString();
    dispatch_([reply, r] { reply(r); });
  });
  box->show();
}

namespace {
// The most telling of the certificate's faults: an untrusted chain before an expired certificate
// before a name that does not match (a stranger's certificate usually has all three).
HttpFailure TlsFailureOf(const QList<QSslError>& errors) {
  bool untrusted = false, expired = false, host = false;
  for (const QSslError& e : errors) {
    switch (e.error()) {
      case QSslError::UnableToGetIssuerCertificate:
      case QSslError::UnableToGetLocalIssuerCertificate:
      case QSslError::UnableToVerifyFirstCertificate:
      case QSslError::SelfSignedCertificate:
      case QSslError::SelfSignedCertificateInChain:
      case QSslError::CertificateUntrusted:
      case QSslError::CertificateRejected:
      case QSslError::InvalidCaCertificate: untrusted = true; break;
      case QSslError::CertificateExpired:
      case QSslError::CertificateNotYetValid: expired = true; break;
      case QSslError::HostNameMismatch: host = true; break;
      default: break;
    }
  }
  if (untrusted) return HttpFailure::TlsUntrusted;
  if (expired) return HttpFailure::TlsExpired;
  if (host) return HttpFailure::TlsWrongHost;
  return HttpFailure::TlsOther;
}

HttpFailure FailureOf(QNetworkReply::NetworkError e) {
  switch (e) {
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError: return HttpFailure::Timeout;
    case QNetworkReply::SslHandshakeFailedError: return HttpFailure::TlsOther;
    case QNetworkReply::ProtocolUnknownError: return HttpFailure::NotAllowed;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError: return HttpFailure::NoConnection;
    default: return HttpFailure::Other;
  }
}
}  // namespace

bool QtHttp::trustCaFile(const std::string& pemFile) {
  extraCa_ = QSslCertificate::fromPath(Q(pemFile), QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
  return !extraCa_.isEmpty();
}

QtHttp::QtHttp(Dispatch dispatch, QObject* parent)
    : QObject(parent), dispatch_(std::move(dispatch)), nam_(new QNetworkAccessManager(this)) {}

void QtHttp::abort(int channel) {
  auto it = pending_.find(channel);
  if (it == pending_.end()) return;
  QPointer<QNetworkReply> reply = it->second.reply;
  pending_.erase(it);
  if (reply) {
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
  }
}

void QtHttp::get(int channel, const std::string& url, int timeoutMs, std::size_t maxBytes,
                 std::function<void(const HttpResult&)> done) {
  abort(channel);
  const QUrl target(Q(url));
  const QString scheme = target.scheme().toLower();
  if ((scheme != "http" && scheme != "https") || target.host().isEmpty()) {
    // file:, ftp: and the like are never fetched: the account would go wherever they point.
    HttpResult r;
    r.failure = HttpFailure::NotAllowed;
    r.error = "not an http:// or https:// URL";
    if (done) dispatch_([done = std::move(done), r] { done(r); });
    return;
  }
  QNetworkRequest request{target};
  // Redirects stay on https: a redirect from https to http would carry nothing secret, but its
  // answer would be believed without any check.
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
  if (!extraCa_.isEmpty()) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.addCaCertificates(extraCa_);
    request.setSslConfiguration(tls);
  }
  QNetworkReply* reply = nam_->get(request);
  pending_[channel] = Pending{reply, std::move(done)};
  // The certificate's faults arrive before the reply ends; they are kept to say which one it was.
  auto tlsFailure = std::make_shared<HttpFailure>(HttpFailure::None);
  connect(reply, &QNetworkReply::sslErrors, this,
          [tlsFailure](const QList<QSslError>& errors) { *tlsFailure = TlsFailureOf(errors); });
  // The limit is on the whole exchange, not on silence: a server that trickles bytes is given
  // up on too. The timer belongs to the reply, so it dies with it.
  if (timeoutMs > 0) {
    auto* limit = new QTimer(reply);
    limit->setSingleShot(true);
    connect(limit, &QTimer::timeout, this, [this, channel, reply] {
      HttpResult r;
      r.error = "timeout";
      r.failure = HttpFailure::Timeout;
      finish(channel, reply, r);
    });
    limit->start(timeoutMs);
  }
  connect(reply, &QNetworkReply::downloadProgress, this, [this, channel, reply, maxBytes](qint64 received, qint64) {
    if (static_cast<std::size_t>(received) > maxBytes) {
      HttpResult r;
      r.error = "too large";
      r.failure = HttpFailure::TooLarge;
      finish(channel, reply, r);
    }
  });
  connect(reply, &QNetworkReply::finished, this, [this, channel, reply, maxBytes, tlsFailure] {
    HttpResult r;
    if (reply->error() == QNetworkReply::NoError ||
        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
      QByteArray bytes = reply->readAll();
      if (static_cast<std::size_t>(bytes.size()) > maxBytes) {
        r.error = "too large";
        r.failure = HttpFailure::TooLarge;
        finish(channel, reply, r);
        return;
      }
      r.ok = reply->error() != QNetworkReply::OperationCanceledError && reply->error() != QNetworkReply::TimeoutError;
      r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
      r.body = DecodeText(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    }
    if (!r.ok) {
      const bool timedOut =
          reply->error() == QNetworkReply::OperationCanceledError || reply->error() == QNetworkReply::TimeoutError;
      // Qt's texts may quote the whole URL, password included.
      r.error = timedOut ? "timeout" : RedactSecrets(reply->errorString().toStdString());
      r.failure = *tlsFailure != HttpFailure::None ? *tlsFailure : FailureOf(reply->error());
    }
    finish(channel, reply, r);
  });
}

void QtHttp::finish(int channel, QNetworkReply* reply, HttpResult result) {
  auto it = pending_.find(channel);
  if (it == pending_.end() || it->second.reply != reply) return;
  auto done = std::move(it->second.done);
  pending_.erase(it);
  reply->disconnect(this);
  if (reply->isRunning()) reply->abort();
  reply->deleteLater();
  if (done) dispatch_([done, result] { done(result); });
}

}  // namespace lumora
