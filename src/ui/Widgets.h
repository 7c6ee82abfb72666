#pragma once
// The one way the pages name their widgets: the objectName of a widget is the name its control's
// handle gives (ref.widgetName()), the name the binder finds the control by.
#include <QPushButton>
#include <QString>

#include "core/Control.h"

namespace lumora {

inline QString ObjectName(ControlRef control) { return QString::fromStdString(control.widgetName()); }

// A push button of the control `button`, under its widget name.
inline QPushButton* NewButton(QWidget* parent, ControlRef button, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(ObjectName(button));
  return b;
}

}  // namespace lumora
