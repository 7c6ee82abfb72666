#pragma once
// The values of the program's controls, read and written through their typed handles.
//
// Settings are the values of controls at the moment an operation runs, and results are written
// back into controls. The engine reads and writes this model; the shell binds its widgets to it
// by objectName (ui/FormBinder), so every rule stays testable without a window.
//
// Controls are named by their handles (core/controls/<window>.h): `fmain::Tkjh`,
// `fmain::T_quxian_zhushu[3]` for element 3 of a control array, `fadd::T_total_renshu`. Every
// control's raw text is at hand through text(); value() reads a control the way its kind says
// (an integer box through the one lenient number reader), set() writes it back as text.
//
// Multi-line text boxes hold CR LF line breaks here; the binder converts to the widget's "\n".
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/Control.h"
#include "core/Scene.h"
#include "core/Text.h"

namespace lumora {

struct TimerState {
  bool enabled = false;
  int intervalMs = 0;
};

class Form {
 public:
  // Text of a text box, caption of a label / button / check box ("" when never set).
  const std::string& text(ControlRef name) const;
  void setText(ControlRef name, std::string value);

  bool checked(ControlRef name) const;
  void setChecked(ControlRef name, bool value);

  bool enabled(ControlRef name) const;  // true unless disabled
  void setEnabled(ControlRef name, bool value);
  bool visible(ControlRef name) const;  // true unless hidden
  void setVisible(ControlRef name, bool value);

  // Colours as design colour numbers; -1 means the widget's own colour.
  int backColor(ControlRef name) const;
  void setBackColor(ControlRef name, int bgr);
  int foreColor(ControlRef name) const;
  void setForeColor(ControlRef name, int bgr);

  // List boxes.
  const std::vector<std::string>& items(ControlRef name) const;
  // True when the form holds a control of that name; asks no catalogue and creates nothing.
  bool holds(ControlRef name) const { return controls_.find(name) != controls_.end(); }
  void setItems(ControlRef name, std::vector<std::string> items);
  void addItem(ControlRef name, std::string item);
  int selectedIndex(ControlRef name) const;  // -1 when nothing is selected
  void setSelectedIndex(ControlRef name, int index);
  // Multi-select list boxes ("selected" flags per item).
  bool itemSelected(ControlRef name, int index) const;
  void setItemSelected(ControlRef name, int index, bool value);

  // Pictures.
  const Scene& scene(ControlRef name) const;
  Scene& editScene(ControlRef name);  // marks the picture changed
  void setScene(ControlRef name, Scene scene);

  // Timers: enabled flag and interval; the shell runs a real timer per name.
  TimerState timer(ControlRef name) const;
  void setTimer(ControlRef name, bool enabled, int intervalMs);
  void setTimerEnabled(ControlRef name, bool enabled);

  // Font point size of a control (0 = the widget's own).
  int fontSize(ControlRef name) const;
  void setFontSize(ControlRef name, int points);

  // Typed values. An integer box reads its leading number rounded half to even, a number box
  // its leading number, either 0 without one; set() writes the number as plain text.
  int32_t value(IntBox box) const { return ReadInt(text(box)); }
  double value(NumberBox box) const { return ReadNumber(text(box)); }
  bool value(CheckBox box) const { return checked(box); }
  bool value(OptionButton button) const { return checked(button); }
  void set(IntBox box, int64_t value) { setText(box, std::to_string(value)); }
  void set(NumberBox box, double value);
  void set(CheckBox box, bool value) { setChecked(box, value); }
  // An option group: the index of its checked button (-1 when none is), and checking one.
  int option(const OptionGroup& group) const;
  void setOption(const OptionGroup& group, int index);

  // Controls whose values the engine changed since the last call, for the shell to push to widgets.
  std::set<ControlRef> takeChanged();
  // Marks a name changed without changing a value (the shell repaints it).
  void touch(ControlRef name);

  // The shell reports a user's edit: the value changes but is not marked for pushing back.
  void userSetText(ControlRef name, std::string value);
  void userSetChecked(ControlRef name, bool value);
  void userSetSelectedIndex(ControlRef name, int index);
  void userSetItemSelected(ControlRef name, int index, bool value);
  void userSetVisible(ControlRef name, bool value);

 private:
  struct Values {
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
  Values& at(ControlRef name);
  const Values* find(ControlRef name) const;
  void changed(ControlRef name) { changed_.insert(name); }

  std::map<ControlRef, Values> controls_;
  std::set<ControlRef> changed_;
};

}  // namespace lumora
