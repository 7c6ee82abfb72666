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

#include "core/Form.h"

class QTimer;
class QWidget;

namespace lumora {

class FormBinder : public QObject {
  Q_OBJECT
 public:
  explicit FormBinder(Form& form, QObject* parent = nullptr);

  // Binds every widget under `root` (and `root` itself) that has an objectName. The Form key is
  // `prefix` + objectName: "" for the main window, "Fadd." for the manual entry window, etc.
  // The widgets' current values (their design texts) are read into the Form. With
  // `manageWindow`, the window itself shows and hides as the Form's visible flag of its name
  // ("Fbj") says; the window's objectName must be that name.
  void bind(QWidget* root, const std::string& prefix = {}, bool manageWindow = false);
  void bindWidget(QWidget* w, const std::string& key);

  // Writes every value the engine changed into its widget(s) and timers.
  void push();

  // A user's edit of a control (not the engine's own writes) runs `reaction`.
  void onUserChange(const std::string& key, std::function<void()> reaction);
  // A timer's tick runs `tick`.
  void onTimer(const std::string& key, std::function<void()> tick);

  QWidget* widget(const std::string& key) const;
  Form& form() { return form_; }

 private:
  void apply(const std::string& key, QWidget* w);
  void applyTimer(const std::string& key);
  void userChanged(const std::string& key);

  Form& form_;
  std::multimap<std::string, QPointer<QWidget>> widgets_;
  std::map<std::string, std::function<void()>> reactions_;
  std::map<std::string, std::function<void()>> ticks_;
  std::map<std::string, QTimer*> timers_;
  bool pushing_ = false;
};

}  // namespace lumora
