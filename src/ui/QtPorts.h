#pragma once
// The real ports: Qt's clipboard, message boxes and network (the sound: ui/SystemSound.h).
#include <QObject>
#include <QPointer>
#include <QSslCertificate>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include "core/Ports.h"

class QNetworkAccessManager;
class QNetworkReply;
class QWidget;

namespace lumora {

class QtClipboard final : public Clipboard {
 public:
  void clear() override;
  void setText(const std::string& utf8) override;
  std::string text() override;
};

// Boxes that hold nothing up: each is shown without a nested event loop and stays until the
// user closes it. Notices are modeless; a notice whose title and text equal those of one still
// open is not shown again, so a notice raised on every draw while nobody is at the screen stays
// one box. Questions are window-modal (the user answers before going on in the window; timers,
// draws and scripts keep running) and their answers enter through `dispatch`, so they pass the
// shell's re-entry gate like any other operation.
class QtPrompter final : public Prompter {
 public:
  using Dispatch = std::function<void(std::function<void()>)>;
  explicit QtPrompter(Dispatch dispatch, QWidget* parent = nullptr) : dispatch_(std::move(dispatch)), parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  void inform(const std::string& text, const std::string& title) override;
  void askYesNo(const std::string& text, const std::string& title, std::function<void(bool)> answer) override;
  void askText(const std::string& prompt, const std::string& title, const std::string& initial,
               std::function<void(std::optional<std::string>)> reply) override;
  // Notices on the screen now.
  std::size_t openNotices() const { return open_.size(); }

 private:
  Dispatch dispatch_;
  QPointer<QWidget> parent_;
  QObject context_;                                     // ends the boxes' connections to this prompter with it
  std::set<std::pair<std::string, std::string>> open_;  // (title, text) of the notices shown now
};

// Asynchronous GET over QNetworkAccessManager with a time limit and a size cap. Completion
// callbacks run through `dispatch`, so they pass the shell's re-entry gate. Only http and https
// are fetched; https is verified (chain, host name, validity) against the system's certificates
// and those of `trustCaFile`; a failed check says which (HttpResult::failure). Error texts never
// hold the request's password.
class QtHttp final : public QObject, public Http {
  Q_OBJECT
 public:
  using Dispatch = std::function<void(std::function<void()>)>;
  explicit QtHttp(Dispatch dispatch, QObject* parent = nullptr);
  void get(int channel, const std::string& url, int timeoutMs, std::size_t maxBytes,
           std::function<void(const HttpResult&)> done) override;
  void abort(int channel) override;
  // Trusts the PEM certificates in `pemFile` too (a private feed's CA); false when it holds none.
  bool trustCaFile(const std::string& pemFile);

 private:
  void finish(int channel, QNetworkReply* reply, HttpResult result);

  Dispatch dispatch_;
  QNetworkAccessManager* nam_;
  struct Pending {
    QPointer<QNetworkReply> reply;
    std::function<void(const HttpResult&)> done;
  };
  std::map<int, Pending> pending_;
  QList<QSslCertificate> extraCa_;
};

}  // namespace lumora
