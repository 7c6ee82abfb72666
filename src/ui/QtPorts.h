#pragma once
// The real ports: Qt's clipboard, message boxes and network (the sound: ui/SystemSound.h).
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

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

class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }
  void inform(const std::string& text, const std::string& title) override;
  bool askYesNo(const std::string& text, const std::string& title) override;
  std::optional<std::string> askText(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override;

 private:
  QPointer<QWidget> parent_;
};

// Asynchronous GET over QNetworkAccessManager with a time limit and a size cap. Completion
// callbacks run through `dispatch`, so they pass the shell's re-entry gate.
class QtHttp final : public QObject, public Http {
  Q_OBJECT
 public:
  using Dispatch = std::function<void(std::function<void()>)>;
  explicit QtHttp(Dispatch dispatch, QObject* parent = nullptr);
  void get(int channel, const std::string& url, int timeoutMs, std::size_t maxBytes,
           std::function<void(const HttpResult&)> done) override;
  void abort(int channel) override;

 private:
  void finish(int channel, QNetworkReply* reply, HttpResult result);

  Dispatch dispatch_;
  QNetworkAccessManager* nam_;
  struct Pending {
    QPointer<QNetworkReply> reply;
    std::function<void(const HttpResult&)> done;
  };
  std::map<int, Pending> pending_;
};

}  // namespace lumora
