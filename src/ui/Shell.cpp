#include "ui/Shell.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QWidget>

#include "ui/Widgets.h"

namespace lumora {

Shell::Shell(Session& session, QObject* parent) : QObject(parent), session_(session), binder_(session.cx.form, this) {}

void Shell::run(std::function<void(Session&)> op, const std::string& key) {
  session_.gate.run(
      [this, op = std::move(op)] {
        op(session_);
        binder_.push();
      },
      key);
  // Work that engine code queued on the gate itself (a draw response that arrived during an
  // operation) ran after the operation: push its results too, once the gate is idle.
  if (!session_.gate.busy()) binder_.push();
}

QAbstractButton* Shell::onClick(QWidget* root, ControlRef control, std::function<void(Session&)> op) {
  const QString name = QString::fromStdString(control.widgetName());
  auto* button =
      root->objectName() == name ? qobject_cast<QAbstractButton*>(root) : root->findChild<QAbstractButton*>(name);
  if (!button) return nullptr;
  connect(button, &QAbstractButton::clicked, this, [this, op = std::move(op)] { run(op); });
  return button;
}

QPushButton* Shell::button(QWidget* parent, ControlRef control, const QString& caption,
                           std::function<void(Session&)> op) {
  QPushButton* b = NewButton(parent, control, caption);
  connect(b, &QAbstractButton::clicked, this, [this, op = std::move(op)] { run(op); });
  return b;
}

void Shell::onTimer(ControlRef key, std::function<void(Session&)> op) {
  binder_.onTimer(key, [this, key, op = std::move(op)] { run(op, "timer:" + key.name()); });
}

void Shell::onUserChange(ControlRef key, std::function<void(Session&)> op) {
  binder_.onUserChange(key, [this, op = std::move(op)] { run(op); });
}

}  // namespace lumora
