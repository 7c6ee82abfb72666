#pragma once
// The controls a backtest can vary, and the values each takes. Every name of the windows' control
// catalogues is either settable in a backtest (a check or option box, an option array by its bare
// name, a text box of a known kind) or refused with the reason: a button or label holds no
// setting, a result box is written by the run itself, a control of automatic betting or another
// window plays no part in a backtest. A value is checked against its control's kind here, before
// any run, so a sweep never books a row for a value the program would read as something else
// ("abc" as a count of 0).
#include <string>

namespace lumora {

// Why `name` cannot be set in a backtest ("" when it can). Names are the main window's ("Check_duoqi",
// "T_quxian_zhushu_3", "Option_touzhu_sz"); another window's control may be given with its prefix.
std::string WhyNotSettable(const std::string& name);

// Why `value` cannot be given to the control `name` in a backtest ("" when it can). The message
// names the value and the control and says what the control takes.
std::string CheckControlValue(const std::string& name, const std::string& value);

}  // namespace lumora
