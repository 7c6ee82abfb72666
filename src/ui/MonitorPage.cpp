#include <QWidget>

#include "ui/Pages.h"
#include "ui/Shell.h"

namespace lumora {

void BuildMonitorPage(Shell& shell, QWidget* page) {
  (void)shell;
  (void)page;
}

}  // namespace lumora
