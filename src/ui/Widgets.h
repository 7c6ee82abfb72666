#pragma once
// The one way the pages make a push button: under its design name, so the button's objectName
// is its Form key. The name may come as it is at hand: a literal, a built std::string or a QString.
#include <QPushButton>
#include <QString>
#include <string>

namespace lumora {

inline QPushButton* Button(QWidget* parent, const QString& name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  return b;
}
inline QPushButton* Button(QWidget* parent, const std::string& name, const QString& caption) {
  return Button(parent, QString::fromStdString(name), caption);
}
inline QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
  return Button(parent, QString::fromUtf8(name), caption);
}

}  // namespace lumora
