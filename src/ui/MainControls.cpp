#include <QWidget>

#include "ui/Pages.h"
#include "ui/Shell.h"

namespace lumora {

void BuildMainControls(Shell& shell, QWidget* area) {
  (void)shell;
  (void)area;
}

}  // namespace lumora
