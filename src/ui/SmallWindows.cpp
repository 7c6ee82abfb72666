#include <QWidget>

#include "ui/Pages.h"
#include "ui/Shell.h"

namespace lumora {

void BuildSmallWindows(Shell& shell, QWidget* main) {
  (void)shell;
  (void)main;
}

}  // namespace lumora
