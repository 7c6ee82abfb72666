#pragma once
// Event watchers the windows share: a double click on a text box, a window closed by the user.
#include <QEvent>
#include <QObject>
#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "core/Form.h"

namespace lumora {

// Runs `action` when the user double-clicks a text box.
class DoubleClickWatcher : public QObject {
 public:
  DoubleClickWatcher(std::function<void()> action, QObject* parent) : QObject(parent), action_(std::move(action)) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::MouseButtonDblClick) {
      action_();
      return true;
    }
    return QObject::eventFilter(watched, e);
  }

 private:
  std::function<void()> action_;
};

inline void OnDoubleClick(QPlainTextEdit* edit, std::function<void()> action) {
  edit->viewport()->installEventFilter(new DoubleClickWatcher(std::move(action), edit));
}

// When the user closes a window with its title-bar button, the Form learns that it is hidden,
// so the next "show" from the engine is a change that reaches the window.
class WindowHideWatcher : public QObject {
 public:
  WindowHideWatcher(Form& form, ControlRef window, QObject* parent) : QObject(parent), form_(form), key_(window) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Hide) form_.userSetVisible(key_, false);
    return QObject::eventFilter(watched, e);
  }

 private:
  Form& form_;
  ControlRef key_;
};

}  // namespace lumora
