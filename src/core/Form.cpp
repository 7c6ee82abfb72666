#include "core/Form.h"

#include "core/Text.h"

namespace lumora {

namespace {
const std::string kEmpty;
const std::vector<std::string> kNoItems;
const Scene kNoScene;
}  // namespace

Form::Values& Form::at(ControlRef name) { return controls_[name]; }

const Form::Values* Form::find(ControlRef name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : &it->second;
}

const std::string& Form::text(ControlRef name) const {
  const Values* c = find(name);
  return c ? c->text : kEmpty;
}
void Form::setText(ControlRef name, std::string value) {
  Values& c = at(name);
  if (c.text == value) return;
  c.text = std::move(value);
  changed(name);
}
void Form::userSetText(ControlRef name, std::string value) { at(name).text = std::move(value); }

bool Form::checked(ControlRef name) const {
  const Values* c = find(name);
  return c && c->checked;
}
void Form::setChecked(ControlRef name, bool value) {
  Values& c = at(name);
  if (c.checked == value) return;
  c.checked = value;
  changed(name);
}
void Form::userSetChecked(ControlRef name, bool value) { at(name).checked = value; }

bool Form::enabled(ControlRef name) const {
  const Values* c = find(name);
  return !c || c->enabled;
}
void Form::setEnabled(ControlRef name, bool value) {
  Values& c = at(name);
  if (c.enabled == value) return;
  c.enabled = value;
  changed(name);
}

bool Form::visible(ControlRef name) const {
  const Values* c = find(name);
  return !c || c->visible;
}
void Form::setVisible(ControlRef name, bool value) {
  Values& c = at(name);
  if (c.visible == value) return;
  c.visible = value;
  changed(name);
}

int Form::backColor(ControlRef name) const {
  const Values* c = find(name);
  return c ? c->backColor : -1;
}
void Form::setBackColor(ControlRef name, int bgr) {
  Values& c = at(name);
  if (c.backColor == bgr) return;
  c.backColor = bgr;
  changed(name);
}
int Form::foreColor(ControlRef name) const {
  const Values* c = find(name);
  return c ? c->foreColor : -1;
}
void Form::setForeColor(ControlRef name, int bgr) {
  Values& c = at(name);
  if (c.foreColor == bgr) return;
  c.foreColor = bgr;
  changed(name);
}

int Form::fontSize(ControlRef name) const {
  const Values* c = find(name);
  return c ? c->fontSize : 0;
}
void Form::setFontSize(ControlRef name, int points) {
  Values& c = at(name);
  if (c.fontSize == points) return;
  c.fontSize = points;
  changed(name);
}

const std::vector<std::string>& Form::items(ControlRef name) const {
  const Values* c = find(name);
  return c ? c->items : kNoItems;
}
void Form::setItems(ControlRef name, std::vector<std::string> items) {
  Values& c = at(name);
  c.items = std::move(items);
  c.itemSelected.assign(c.items.size(), false);
  if (c.selectedIndex >= static_cast<int>(c.items.size())) c.selectedIndex = -1;
  changed(name);
}
void Form::addItem(ControlRef name, std::string item) {
  Values& c = at(name);
  c.items.push_back(std::move(item));
  c.itemSelected.push_back(false);
  changed(name);
}
int Form::selectedIndex(ControlRef name) const {
  const Values* c = find(name);
  return c ? c->selectedIndex : -1;
}
void Form::setSelectedIndex(ControlRef name, int index) {
  Values& c = at(name);
  if (index < -1 || index >= static_cast<int>(c.items.size())) index = -1;
  if (c.selectedIndex == index) return;
  c.selectedIndex = index;
  changed(name);
}
void Form::userSetSelectedIndex(ControlRef name, int index) {
  Values& c = at(name);
  c.selectedIndex = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
}

bool Form::itemSelected(ControlRef name, int index) const {
  const Values* c = find(name);
  return c && index >= 0 && index < static_cast<int>(c->itemSelected.size()) && c->itemSelected[index];
}
void Form::setItemSelected(ControlRef name, int index, bool value) {
  Values& c = at(name);
  if (index < 0 || index >= static_cast<int>(c.itemSelected.size())) return;
  if (c.itemSelected[index] == value) return;
  c.itemSelected[index] = value;
  changed(name);
}
void Form::userSetVisible(ControlRef name, bool value) { at(name).visible = value; }
void Form::userSetItemSelected(ControlRef name, int index, bool value) {
  Values& c = at(name);
  if (index >= 0 && index < static_cast<int>(c.itemSelected.size())) c.itemSelected[index] = value;
}

const Scene& Form::scene(ControlRef name) const {
  const Values* c = find(name);
  return c ? c->scene : kNoScene;
}
Scene& Form::editScene(ControlRef name) {
  changed(name);
  return at(name).scene;
}
void Form::setScene(ControlRef name, Scene scene) {
  at(name).scene = std::move(scene);
  changed(name);
}

TimerState Form::timer(ControlRef name) const {
  const Values* c = find(name);
  return c ? c->timer : TimerState{};
}
void Form::setTimer(ControlRef name, bool enabled, int intervalMs) {
  Values& c = at(name);
  c.timer = TimerState{enabled, intervalMs};
  changed(name);  // a restart (disable, set, enable) restarts the real timer
}
void Form::setTimerEnabled(ControlRef name, bool enabled) {
  Values& c = at(name);
  c.timer.enabled = enabled;
  changed(name);
}

void Form::set(NumberBox box, double value) { setText(box, FormatNumber(value)); }

int Form::option(const OptionGroup& group) const {
  for (int i = group.first; i <= group.last; ++i)
    if (checked(group[i])) return i;
  return -1;
}
void Form::setOption(const OptionGroup& group, int index) {
  for (int i = group.first; i <= group.last; ++i) setChecked(group[i], i == index);
}

std::set<ControlRef> Form::takeChanged() {
  std::set<ControlRef> out;
  out.swap(changed_);
  return out;
}

void Form::touch(ControlRef name) { changed(name); }

}  // namespace lumora
