#pragma once
// The values of the program's controls, keyed by control name.
//
// Settings are the values of controls at the moment an operation runs, and results are written
// back into controls. The engine reads and writes this model; the shell binds its widgets to it
// by objectName (ui/FormBinder), so every rule stays testable without a window.
//
// Keys: a main-window control is its design name ("Tkjh", "T_quxian_zhushu_3" for element 3 of a
// control array). A control of another window carries that window's name in front:
// "Fadd.T_total_renshu", "Ftool.Tdd", "Fbj.Timer1".
//
// Multi-line text boxes hold CR LF line breaks here; the binder converts to the widget's "\n".
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/Scene.h"

namespace lumora {

struct TimerState {
  bool enabled = false;
  int intervalMs = 0;
};

class Form {
 public:
  // Text of a text box, caption of a label / button / check box ("" when never set).
  const std::string& text(std::string_view name) const;
  void setText(std::string_view name, std::string value);

  bool checked(std::string_view name) const;
  void setChecked(std::string_view name, bool value);

  bool enabled(std::string_view name) const;  // true unless disabled
  void setEnabled(std::string_view name, bool value);
  bool visible(std::string_view name) const;  // true unless hidden
  void setVisible(std::string_view name, bool value);

  // Colours as design colour numbers; -1 means the widget's own colour.
  int backColor(std::string_view name) const;
  void setBackColor(std::string_view name, int bgr);
  int foreColor(std::string_view name) const;
  void setForeColor(std::string_view name, int bgr);

  // List boxes.
  const std::vector<std::string>& items(std::string_view name) const;
  // True when the form holds a control of that name; asks no catalogue and creates nothing.
  bool holds(std::string_view name) const { return controls_.find(name) != controls_.end(); }
  void setItems(std::string_view name, std::vector<std::string> items);
  void addItem(std::string_view name, std::string item);
  int selectedIndex(std::string_view name) const;  // -1 when nothing is selected
  void setSelectedIndex(std::string_view name, int index);
  // Multi-select list boxes ("selected" flags per item).
  bool itemSelected(std::string_view name, int index) const;
  void setItemSelected(std::string_view name, int index, bool value);

  // Pictures.
  const Scene& scene(std::string_view name) const;
  Scene& editScene(std::string_view name);  // marks the picture changed
  void setScene(std::string_view name, Scene scene);

  // Timers: enabled flag and interval; the shell runs a real timer per name.
  TimerState timer(std::string_view name) const;
  void setTimer(std::string_view name, bool enabled, int intervalMs);
  void setTimerEnabled(std::string_view name, bool enabled);

  // Font point size of a control (0 = the widget's own).
  int fontSize(std::string_view name) const;
  void setFontSize(std::string_view name, int points);

  // Names whose values the engine changed since the last call, for the shell to push to widgets.
  std::set<std::string> takeChanged();
  // Marks a name changed without changing a value (the shell repaints it).
  void touch(std::string_view name);

  // The shell reports a user's edit: the value changes but is not marked for pushing back.
  void userSetText(std::string_view name, std::string value);
  void userSetChecked(std::string_view name, bool value);
  void userSetSelectedIndex(std::string_view name, int index);
  void userSetItemSelected(std::string_view name, int index, bool value);
  void userSetVisible(std::string_view name, bool value);

 private:
  struct Control {
    std::string text;
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    int backColor = -1;
    int foreColor = -1;
    int fontSize = 0;
    std::vector<std::string> items;
    std::vector<bool> itemSelected;
    int selectedIndex = -1;
    Scene scene;
    TimerState timer;
  };
  Control& at(std::string_view name);
  const Control* find(std::string_view name) const;
  void changed(std::string_view name) { changed_.emplace(name); }

  std::map<std::string, Control, std::less<>> controls_;
  std::set<std::string> changed_;
};

}  // namespace lumora
