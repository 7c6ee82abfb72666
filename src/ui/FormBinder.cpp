#include "ui/FormBinder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>
#include <map>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

#include "core/ControlNames.h"
#include "core/Text.h"
#include "ui/ChartView.h"

namespace lumora {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// Under Fusion a push button's panel is painted from its palette and kept in Qt's pixmap cache
// under a key that holds the palette's cache key. A style sheet makes the widget a new palette
// every time it changes, so a button whose colour alternates (the settings centre's blink, every
// 400 ms) adds a cache entry every time: the cache fills to its limit with pictures never shown
// again, and Qt 6.4 keeps the text key of every entry it evicts, about 0.2 KB a button a blink for
// as long as the program runs. Such a button is coloured here through a palette made once per
// colour pair with every role set, which QWidget::setPalette takes as it is: the same colours
// come back under the same key and find their picture. The picture is the style sheet's, which
// gives Fusion's button these same roles. A button under a style sheet of its window keeps
// being coloured by style sheet, since that sheet would override its palette.
bool ColouredByPalette(const QWidget* w) {
  if (!qobject_cast<const QPushButton*>(w) || !qApp->styleSheet().isEmpty() ||
      QApplication::style()->name().compare("fusion", Qt::CaseInsensitive) != 0)
    return false;
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
    if (!p->styleSheet().isEmpty()) return false;
  return true;
}

// The palette of a button coloured `back` / `fore` (-1: the button's own), one per colour pair.
const QPalette& ButtonPalette(const QWidget* w, int back, int fore) {
  static std::map<std::tuple<qint64, int, int>, QPalette> made;
  const QPalette natural = QApplication::palette(w);
  const auto key = std::make_tuple(natural.cacheKey(), back, fore);
  if (auto it = made.find(key); it != made.end()) return it->second;
  if (made.size() >= 64) made.clear();  // the engine uses a handful of colours
  QPalette p = natural;
  for (int g = 0; g < QPalette::NColorGroups; ++g) {
    const auto group = static_cast<QPalette::ColorGroup>(g);
    // The roles a style sheet's background and colour set, in every state.
    if (back >= 0)
      for (auto role : {QPalette::Base, QPalette::Button, QPalette::Window}) p.setColor(group, role, ToQColor(back));
    if (fore >= 0)
      for (auto role : {QPalette::ButtonText, QPalette::WindowText, QPalette::Text})
        p.setColor(group, role, ToQColor(fore));
    // Every role set: setPalette then keeps this palette rather than a resolved copy.
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
      const auto role = static_cast<QPalette::ColorRole>(r);
      p.setBrush(group, role, p.brush(group, role));
    }
  }
  return made.emplace(key, p).first->second;
}

void SetColors(QWidget* w, int back, int fore) {
  if (back < 0 && fore < 0 && !w->property("lumoraColored").toBool()) return;
  w->setProperty("lumoraColored", true);
  const bool byPalette = ColouredByPalette(w);
  if (byPalette && !w->styleSheet().isEmpty()) w->setStyleSheet(QString());
  if (byPalette && (back >= 0 || fore >= 0)) {
    w->setPalette(ButtonPalette(w, back, fore));
    w->setProperty("lumoraPalette", true);
  } else if (w->property("lumoraPalette").toBool()) {
    w->setPalette(QPalette());
    w->setProperty("lumoraPalette", false);
  }
  if (byPalette) return;
  QString style;
  if (back >= 0) style += QString("background-color: %1;").arg(ToQColor(back).name());
  if (fore >= 0) style += QString("color: %1;").arg(ToQColor(fore).name());
  if (w->styleSheet() != style) w->setStyleSheet(style);
}
// The window's own widgets must be what its control catalogue (core/ControlNames.h) lists, both
// ways. A page bound on its own (tests do) is checked one way only: its widgets must be
// catalogued.
// A disagreement is a programming fault in how a window builds its widgets, the same in every
// run of a build, so the first test that builds the window stops on it.
void CheckCatalogue(const QWidget* root, const WindowCatalogue* catalogue, const std::string& prefix,
                    const std::vector<std::string>& widgetNames) {
  std::vector<std::string> problems =
      catalogue ? CatalogueMismatches(*catalogue, widgetNames, S(root->objectName()) == catalogue->window)
                : std::vector<std::string>{"no control catalogue for the window bound as \"" + prefix + "\""};
  for (const std::string& p : problems) std::fprintf(stderr, "lumora: %s\n", p.c_str());
  if (!problems.empty())
    qFatal("lumora: the control catalogue and the widgets disagree (%d, listed above)",
           static_cast<int>(problems.size()));
}

}  // namespace

FormBinder::FormBinder(Form& form, QObject* parent) : QObject(parent), form_(form) {}

void FormBinder::bind(QWidget* root, Window window, bool manageWindow) {
  const WindowCatalogue* catalogue = nullptr;
  for (const WindowCatalogue& c : ControlCatalogues())
    if (window.key == c.window) catalogue = &c;
  const std::string prefix = catalogue ? catalogue->prefix : "";
  // The main window and its parts carry their own names ("Fmain", "Frame_ding_1"); another window
  // is its own control (fadd::window).
  const std::optional<FoundControl> self = !prefix.empty()                ? FindControl(window.key)
                                           : root->objectName().isEmpty() ? std::nullopt
                                                                          : FindControl(S(root->objectName()));
  if (manageWindow && root->isWindow() && self) {
    root->setProperty("lumoraManaged", true);
    form_.userSetVisible(self->ref, root->isVisible());
  }
  if (!root->objectName().isEmpty() && self) bindWidget(root, self->ref);
  // The window's own widgets only: a child window (Fadd, Fk ...) is bound under its own
  // catalogue, never again under this window's. A name no catalogue holds binds nothing; the
  // catalogue check below names it.
  std::vector<std::string> own;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (w->objectName().isEmpty() || w->objectName().startsWith("qt_") || w->window() != root->window()) continue;
    own.push_back(S(w->objectName()));
    if (auto found = FindControl(prefix + own.back())) bindWidget(w, found->ref);
  }
  CheckCatalogue(root, catalogue, prefix, own);
}

void FormBinder::bindWidget(QWidget* w, ControlRef key) {
  for (auto [it, end] = widgets_.equal_range(key); it != end; ++it)
    if (it->second == w) return;
  widgets_.emplace(key, w);
  // Design values are the widgets' initial values.
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    form_.userSetText(key, S(e->text()));
    connect(e, &QLineEdit::textChanged, this, [this, key](const QString& t) {
      form_.userSetText(key, S(t));
      userChanged(key);
    });
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    form_.userSetText(key, ToCrLf(S(p->toPlainText())));
    connect(p, &QPlainTextEdit::textChanged, this, [this, key, p] {
      form_.userSetText(key, ToCrLf(S(p->toPlainText())));
      userChanged(key);
    });
  } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
    form_.userSetText(key, ToCrLf(S(t->toPlainText())));
    connect(t, &QTextEdit::textChanged, this, [this, key, t] {
      form_.userSetText(key, ToCrLf(S(t->toPlainText())));
      userChanged(key);
    });
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    form_.userSetText(key, ToCrLf(S(b->text())));
    if (b->isCheckable()) {
      form_.userSetChecked(key, b->isChecked());
      connect(b, &QAbstractButton::toggled, this, [this, key](bool on) {
        form_.userSetChecked(key, on);
        if (on || !pushing_) userChanged(key);
      });
    }
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    form_.userSetText(key, ToCrLf(S(l->text())));
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    form_.userSetText(key, S(g->title()));
  } else if (auto* list = qobject_cast<QListWidget*>(w)) {
    std::vector<std::string> items;
    for (int i = 0; i < list->count(); ++i) items.push_back(S(list->item(i)->text()));
    if (!items.empty()) form_.setItems(key, items);
    connect(list, &QListWidget::currentRowChanged, this, [this, key](int row) {
      if (pushing_) return;
      form_.userSetSelectedIndex(key, row);
    });
    connect(list, &QListWidget::itemSelectionChanged, this, [this, key, list] {
      if (pushing_) return;
      for (int i = 0; i < list->count(); ++i) form_.userSetItemSelected(key, i, list->item(i)->isSelected());
      userChanged(key);
    });
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    form_.userSetText(key, S(c->currentText()));
    connect(c, &QComboBox::currentTextChanged, this, [this, key](const QString& t) {
      form_.userSetText(key, S(t));
      userChanged(key);
    });
  }
  if (!w->isEnabled()) form_.setEnabled(key, false);
}

void FormBinder::onUserChange(ControlRef key, std::function<void()> reaction) { reactions_[key] = std::move(reaction); }

void FormBinder::userChanged(ControlRef key) {
  if (pushing_) return;
  auto it = reactions_.find(key);
  if (it != reactions_.end() && it->second) it->second();
}

void FormBinder::onTimer(ControlRef key, std::function<void()> tick) {
  ticks_[key] = std::move(tick);
  applyTimer(key);
}

QWidget* FormBinder::widget(ControlRef key) const {
  auto it = widgets_.find(key);
  return it == widgets_.end() ? nullptr : it->second.data();
}

void FormBinder::push() {
  // Pushing can run widget signals; values the engine changes meanwhile are pushed next round.
  for (int round = 0; round < 4; ++round) {
    std::set<ControlRef> changed = form_.takeChanged();
    if (changed.empty()) return;
    pushing_ = true;
    for (ControlRef key : changed) {
      bool any = false;
      for (auto [it, end] = widgets_.equal_range(key); it != end; ++it) {
        if (it->second) apply(key, it->second);
        any = true;
      }
      if (!any || ticks_.count(key)) applyTimer(key);
    }
    pushing_ = false;
  }
}

void FormBinder::applyTimer(ControlRef key) {
  auto tick = ticks_.find(key);
  if (tick == ticks_.end()) return;
  QTimer*& t = timers_[key];
  if (!t) {
    t = new QTimer(this);
    connect(t, &QTimer::timeout, this, [this, key] {
      auto it = ticks_.find(key);
      if (it != ticks_.end() && it->second) it->second();
    });
  }
  TimerState st = form_.timer(key);
  t->stop();
  if (st.enabled && st.intervalMs > 0) t->start(st.intervalMs);
}

void FormBinder::apply(ControlRef key, QWidget* w) {
  const std::string& text = form_.text(key);
  if (auto* e = qobject_cast<QLineEdit*>(w)) {
    if (S(e->text()) != text) e->setText(Q(text));
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    QString lf = Q(ToLf(text));
    if (p->toPlainText() != lf) {
      p->setPlainText(lf);
      p->verticalScrollBar()->setValue(p->verticalScrollBar()->maximum());
    }
  } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
    QString lf = Q(ToLf(text));
    if (t->toPlainText() != lf) t->setPlainText(lf);
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    QString caption = Q(ToLf(text));
    if (b->text() != caption) b->setText(caption);
    if (b->isCheckable() && b->isChecked() != form_.checked(key)) b->setChecked(form_.checked(key));
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    QString caption = Q(ToLf(text));
    if (l->text() != caption) l->setText(caption);
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    if (S(g->title()) != text) g->setTitle(Q(text));
  } else if (auto* list = qobject_cast<QListWidget*>(w)) {
    const auto& items = form_.items(key);
    bool same = list->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < list->count(); ++i) same = S(list->item(i)->text()) == items[i];
    if (!same) {
      list->clear();
      for (const auto& item : items) list->addItem(Q(item));
    }
    for (int i = 0; i < list->count(); ++i) {
      bool sel = form_.itemSelected(key, i) || form_.selectedIndex(key) == i;
      if (list->item(i)->isSelected() != sel) list->item(i)->setSelected(sel);
    }
    int idx = form_.selectedIndex(key);
    if (list->currentRow() != idx) list->setCurrentRow(idx);
    if (idx >= 0) list->scrollToItem(list->item(idx));
    else if (list->count() > 0 && !same) list->scrollToBottom();
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    if (S(c->currentText()) != text) c->setCurrentText(Q(text));
  } else if (auto* chart = qobject_cast<ChartView*>(w)) {
    chart->setScene(form_.scene(key));
  }
  if (w->isEnabled() != form_.enabled(key)) w->setEnabled(form_.enabled(key));
  // Children follow the visible flag; a top-level window only when its shell asked for it
  // (bind with manageWindow), so the engine can show and hide it.
  if (w->isWindow()) {
    if (w->property("lumoraManaged").toBool() && w->isVisible() != form_.visible(key))
      w->setVisible(form_.visible(key));
  } else if (w->isVisibleTo(w->parentWidget()) != form_.visible(key)) {
    w->setVisible(form_.visible(key));
  }
  SetColors(w, form_.backColor(key), form_.foreColor(key));
  if (int pt = form_.fontSize(key); pt > 0 && w->font().pointSize() != pt) {
    QFont f = w->font();
    f.setPointSize(pt);
    w->setFont(f);
  }
}

}  // namespace lumora
