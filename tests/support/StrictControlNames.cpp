// Linked into every test program: the Form refuses a control name that no window's catalogue
// holds, and the binder stops on a window whose widgets and catalogue disagree.
#include "core/ControlNames.h"

namespace {
const bool kStrict = (lumora::SetStrictControlNames(true), true);
}  // namespace
