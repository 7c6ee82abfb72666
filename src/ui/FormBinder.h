#pragma once
// Binds widgets to the engine's Form by objectName: user edits flow into the Form as they
// happen, and after every engine operation push() writes what the engine changed back into the
// widgets. Timers named in the Form run as QTimers.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/Form.h"
#include "core/controls/Fmain.h"

class QTimer;
class QWidget;

namespace lumora {

class FormBinder : public QObject {
  Q_OBJECT
 public:
  explicit FormBinder(Form& form, QObject* parent = nullptr);

  // Binds every widget under `root` (and `root` itself) that has an objectName to the control of
  // `window`'s catalogue that carries that name (fadd::T_total_renshu for "T_total_renshu" in
  // fadd::window). The widgets' current values (their design texts) are read into the Form. With
  // `manageWindow`, the window itself shows and hides as the Form's visible flag of its handle
  // (fbj::window) says; the window's objectName must be its name. Part of the main window (a
  // page) may be bound on its own.
  void bind(QWidget* root, Window window = fmain::window, bool manageWindow = false);
  void bindWidget(QWidget* w, ControlRef control);

  // Writes every value the engine changed into its widget(s) and timers.
  void push();

  // A user's edit of a control (not the engine's own writes) runs `reaction`.
  void onUserChange(ControlRef control, std::function<void()> reaction);
  // A timer's tick runs `tick`.
  void onTimer(ControlRef timer, std::function<void()> tick);

  QWidget* widget(ControlRef control) const;
  Form& form() { return form_; }

 private:
  void apply(ControlRef key, QWidget* w);
  void applyTimer(ControlRef key);
  void userChanged(ControlRef key);

  Form& form_;
  std::multimap<ControlRef, QPointer<QWidget>> widgets_;
  std::map<ControlRef, std::function<void()>> reactions_;
  std::map<ControlRef, std::function<void()>> ticks_;
  std::map<ControlRef, QTimer*> timers_;
  bool pushing_ = false;
};

}  // namespace lumora
