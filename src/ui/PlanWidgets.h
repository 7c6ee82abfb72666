#pragma once
// Widget helpers of the plan and monitor tabs: boxes created with their design names and texts.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <optional>
#include <string>

#include "core/Text.h"
#include "plan/PlanDefaults.h"
#include "ui/Widgets.h"

namespace lumora::plan_ui {

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

inline std::string DesignText(ControlRef key) {
  for (const auto& [k, text] : PlanDesignTexts())
    if (k == key) return text;
  return {};
}

inline QLineEdit* Line(QWidget* parent, ControlRef name, int width = 0) {
  auto* e = new QLineEdit(Q(DesignText(name)), parent);
  e->setObjectName(ObjectName(name));
  if (width > 0) e->setFixedWidth(width);
  return e;
}

inline QPlainTextEdit* Text(QWidget* parent, ControlRef name, int height = 0) {
  auto* e = new QPlainTextEdit(Q(ToLf(DesignText(name))), parent);
  e->setObjectName(ObjectName(name));
  if (height > 0) e->setFixedHeight(height);
  return e;
}

using ::lumora::NewButton;

inline QCheckBox* Check(QWidget* parent, ControlRef name, const char* caption) {
  auto* c = new QCheckBox(QString::fromUtf8(caption), parent);
  c->setObjectName(ObjectName(name));
  return c;
}

// A caption; with `name`, the label of that control showing its design text.
inline QLabel* Label(QWidget* parent, const char* caption, std::optional<ControlRef> name = std::nullopt) {
  auto* l = new QLabel(QString::fromUtf8(caption), parent);
  if (name) {
    l->setObjectName(ObjectName(*name));
    l->setText(Q(DesignText(*name)));
  }
  return l;
}

// Keeps a record box scrolled to its last line whenever its text changes.
inline void FollowEnd(QPlainTextEdit* e) {
  QObject::connect(e, &QPlainTextEdit::textChanged, e,
                   [e] { e->verticalScrollBar()->setValue(e->verticalScrollBar()->maximum()); });
}

}  // namespace lumora::plan_ui
