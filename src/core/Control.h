#pragma once
// Typed handles of the program's controls.
//
// Every window declares its controls once (core/controls/<window>.h): a name and a kind. The
// declaration gives a constant handle per control, `fmain::Tkjh`, `fadd::T_total_renshu`,
// `ftool::C_all[3]` for element 3 of a control array, and the window's catalogue the shell binds
// widgets by. The engine reads and writes the Form only through handles, so a mistyped name does
// not compile and the kind says how a value is read: an integer box through the one lenient
// number reader, a check box as a flag, an option group as the index of its checked button.
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumora {

enum class ControlKind : uint8_t {
  Button,        // a push button: caption, enabled
  Label,         // a caption the program writes
  TextBox,       // free text, read as it stands
  IntBox,        // a text box holding a whole number, read leniently (ReadInt)
  NumberBox,     // a text box holding a decimal number, read leniently (ReadNumber)
  CheckBox,      // a flag
  OptionButton,  // one button of an option group: a flag, one of the group checked
  ListBox,       // items, a selection
  Picture,       // a chart: a Scene
  Frame,         // a group of controls: caption, visibility
  Timer,         // the Form's own timers, run by the shell; no widget
  Window,        // a whole window (its visibility)
  Widget,        // anything else the shell shows (tabs, progress bars, shapes)
};

// A control as the Form knows it: the key ("Tkjh"; another window's controls carry the window's
// prefix, "Fadd.T_total_renshu") and, for an element of a control array, its index.
// Keys always point at the catalogue's static texts, so a ref is cheap to copy and compare.
struct ControlRef {
  std::string_view key;
  int index = -1;

  // The name as the shell's widgets carry it: "Tkjh", "T_quxian_zhushu_3" (with the prefix).
  std::string name() const { return index < 0 ? std::string(key) : std::string(key) + "_" + std::to_string(index); }
  // The name as a message shows it to the player: "T_xl_muduan(3)".
  std::string messageName() const {
    return index < 0 ? std::string(key) : std::string(key) + "(" + std::to_string(index) + ")";
  }
  // The objectName of its widget: the name without the window's prefix ("T_total_renshu").
  std::string widgetName() const {
    const size_t dot = key.find('.');
    const std::string_view bare = dot == std::string_view::npos ? key : key.substr(dot + 1);
    return index < 0 ? std::string(bare) : std::string(bare) + "_" + std::to_string(index);
  }

  friend constexpr bool operator==(const ControlRef& a, const ControlRef& b) {
    return a.index == b.index && a.key == b.key;
  }
  friend constexpr bool operator<(const ControlRef& a, const ControlRef& b) {
    return a.key != b.key ? a.key < b.key : a.index < b.index;
  }
};

// How a test's failure message shows a control.
inline std::ostream& operator<<(std::ostream& out, const ControlRef& c) { return out << c.name(); }

// A control of a known kind.
template <ControlKind K>
struct Control : ControlRef {
  static constexpr ControlKind kKind = K;
};

using Button = Control<ControlKind::Button>;
using Label = Control<ControlKind::Label>;
using TextBox = Control<ControlKind::TextBox>;
using IntBox = Control<ControlKind::IntBox>;
using NumberBox = Control<ControlKind::NumberBox>;
using CheckBox = Control<ControlKind::CheckBox>;
using OptionButton = Control<ControlKind::OptionButton>;
using ListBox = Control<ControlKind::ListBox>;
using Picture = Control<ControlKind::Picture>;
using Frame = Control<ControlKind::Frame>;
using Timer = Control<ControlKind::Timer>;
using Window = Control<ControlKind::Window>;
using Widget = Control<ControlKind::Widget>;

// A control array: elements first..last of one kind, named "<key>_<index>".
template <ControlKind K>
struct ControlArray {
  static constexpr ControlKind kKind = K;
  std::string_view key;
  int first = 0;
  int last = 0;

  constexpr Control<K> operator[](int index) const {
    if (index < first || index > last)
      throw std::out_of_range("control " + std::string(key) + " has no element " + std::to_string(index));
    return Control<K>{{key, index}};
  }
  constexpr bool holds(int index) const { return index >= first && index <= last; }
  constexpr int count() const { return last - first + 1; }
  // The array's own name, as the command line names a whole row.
  std::string name() const { return std::string(key); }
};

// Controls with texts, in order: a window's values as built, or as a scheme stores them.
using ControlTexts = std::vector<std::pair<ControlRef, std::string>>;

// Option buttons of one group: the group's value is the index of its checked button.
using OptionGroup = ControlArray<ControlKind::OptionButton>;

}  // namespace lumora
