#include <QWidget>

#include "ui/Pages.h"
#include "ui/Shell.h"

namespace lumora {

void BuildCapitalFrame(Shell& shell, QWidget* parent) {
  (void)shell;
  (void)parent;
}

}  // namespace lumora
