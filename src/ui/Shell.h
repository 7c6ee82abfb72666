#pragma once
// The shell's hub: the Session, the binder, and the one way to run an engine operation from a
// widget or timer (through the re-entry gate, then pushing the results into the widgets).
#include <QObject>
#include <functional>
#include <string>

#include "session/Session.h"
#include "ui/FormBinder.h"

class QAbstractButton;
class QPushButton;
class QString;
class QWidget;

namespace lumora {

class Shell : public QObject {
  Q_OBJECT
 public:
  explicit Shell(Session& session, QObject* parent = nullptr);

  Session& session() { return session_; }
  Form& form() { return session_.cx.form; }
  FormBinder& binder() { return binder_; }

  // Runs `op` through the gate (queued when another operation is running), then pushes every
  // changed control value into its widget. A non-empty `key` is queued at most once.
  void run(std::function<void(Session&)> op, const std::string& key = {});

  // Connects the click of `button` (`root` or its child carrying the button's name) to `op`.
  // Returns the button.
  QAbstractButton* onClick(QWidget* root, ControlRef button, std::function<void(Session&)> op);
  // A new push button of `button` under `parent`, captioned `caption`, whose click runs `op`.
  QPushButton* button(QWidget* parent, ControlRef button, const QString& caption, std::function<void(Session&)> op);
  // A timer in the Form runs `op` on every tick (queued at most once while busy).
  void onTimer(ControlRef timer, std::function<void(Session&)> op);
  // A user's edit of a control runs `op`.
  void onUserChange(ControlRef control, std::function<void(Session&)> op);

 private:
  Session& session_;
  FormBinder binder_;
};

}  // namespace lumora
