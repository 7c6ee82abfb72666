#include <QWidget>

#include "ui/Pages.h"
#include "ui/Shell.h"

namespace lumora {

void BuildAutoBetPage(Shell& shell, QWidget* page) {
  BuildCapitalFrame(shell, page);
}

}  // namespace lumora
