#include "ui/QtPorts.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

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
  QNetworkRequest request{QUrl(Q(url))};
  QNetworkReply* reply = nam_->get(request);
  pending_[channel] = Pending{reply, std::move(done)};
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
  connect(reply, &QNetworkReply::finished, this, [this, channel, reply, maxBytes] {
    HttpResult r;
    if (reply->error() == QNetworkReply::NoError || reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
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
      const bool timedOut = reply->error() == QNetworkReply::OperationCanceledError || reply->error() == QNetworkReply::TimeoutError;
      r.error = timedOut ? "timeout" : reply->errorString().toStdString();
      r.failure = timedOut ? HttpFailure::Timeout : HttpFailure::NoConnection;
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
