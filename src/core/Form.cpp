#include "core/Form.h"

#include "core/ControlNames.h"

namespace lumora {

namespace {
void CheckName(std::string_view name) {
  if (StrictControlNames() && !IsCataloguedName(name))
    throw UnknownControlName("control name \"" + std::string(name) + "\" is in no window's control catalogue");
}

const std::string kEmpty;
const std::vector<std::string> kNoItems;
const Scene kNoScene;
}  // namespace

Form::Control& Form::at(std::string_view name) {
  auto it = controls_.find(name);
  if (it == controls_.end()) CheckName(name);
  if (it == controls_.end()) it = controls_.emplace(std::string(name), Control{}).first;
  return it->second;
}

const Form::Control* Form::find(std::string_view name) const {
  auto it = controls_.find(name);
  if (it == controls_.end()) CheckName(name);
  return it == controls_.end() ? nullptr : &it->second;
}

const std::string& Form::text(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->text : kEmpty;
}
void Form::setText(std::string_view name, std::string value) {
  Control& c = at(name);
  if (c.text == value) return;
  c.text = std::move(value);
  changed(name);
}
void Form::userSetText(std::string_view name, std::string value) { at(name).text = std::move(value); }

bool Form::checked(std::string_view name) const {
  const Control* c = find(name);
  return c && c->checked;
}
void Form::setChecked(std::string_view name, bool value) {
  Control& c = at(name);
  if (c.checked == value) return;
  c.checked = value;
  changed(name);
}
void Form::userSetChecked(std::string_view name, bool value) { at(name).checked = value; }

bool Form::enabled(std::string_view name) const {
  const Control* c = find(name);
  return !c || c->enabled;
}
void Form::setEnabled(std::string_view name, bool value) {
  Control& c = at(name);
  if (c.enabled == value) return;
  c.enabled = value;
  changed(name);
}

bool Form::visible(std::string_view name) const {
  const Control* c = find(name);
  return !c || c->visible;
}
void Form::setVisible(std::string_view name, bool value) {
  Control& c = at(name);
  if (c.visible == value) return;
  c.visible = value;
  changed(name);
}

int Form::backColor(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->backColor : -1;
}
void Form::setBackColor(std::string_view name, int bgr) {
  Control& c = at(name);
  if (c.backColor == bgr) return;
  c.backColor = bgr;
  changed(name);
}
int Form::foreColor(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->foreColor : -1;
}
void Form::setForeColor(std::string_view name, int bgr) {
  Control& c = at(name);
  if (c.foreColor == bgr) return;
  c.foreColor = bgr;
  changed(name);
}

int Form::fontSize(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->fontSize : 0;
}
void Form::setFontSize(std::string_view name, int points) {
  Control& c = at(name);
  if (c.fontSize == points) return;
  c.fontSize = points;
  changed(name);
}

const std::vector<std::string>& Form::items(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->items : kNoItems;
}
void Form::setItems(std::string_view name, std::vector<std::string> items) {
  Control& c = at(name);
  c.items = std::move(items);
  c.itemSelected.assign(c.items.size(), false);
  if (c.selectedIndex >= static_cast<int>(c.items.size())) c.selectedIndex = -1;
  changed(name);
}
void Form::addItem(std::string_view name, std::string item) {
  Control& c = at(name);
  c.items.push_back(std::move(item));
  c.itemSelected.push_back(false);
  changed(name);
}
int Form::selectedIndex(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->selectedIndex : -1;
}
void Form::setSelectedIndex(std::string_view name, int index) {
  Control& c = at(name);
  if (index < -1 || index >= static_cast<int>(c.items.size())) index = -1;
  if (c.selectedIndex == index) return;
  c.selectedIndex = index;
  changed(name);
}
void Form::userSetSelectedIndex(std::string_view name, int index) { at(name).selectedIndex = index; }

bool Form::itemSelected(std::string_view name, int index) const {
  const Control* c = find(name);
  return c && index >= 0 && index < static_cast<int>(c->itemSelected.size()) && c->itemSelected[index];
}
void Form::setItemSelected(std::string_view name, int index, bool value) {
  Control& c = at(name);
  if (index < 0 || index >= static_cast<int>(c.itemSelected.size())) return;
  if (c.itemSelected[index] == value) return;
  c.itemSelected[index] = value;
  changed(name);
}
void Form::userSetVisible(std::string_view name, bool value) { at(name).visible = value; }
void Form::userSetItemSelected(std::string_view name, int index, bool value) {
  Control& c = at(name);
  if (index >= 0 && index < static_cast<int>(c.itemSelected.size())) c.itemSelected[index] = value;
}

const Scene& Form::scene(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->scene : kNoScene;
}
Scene& Form::editScene(std::string_view name) {
  changed(name);
  return at(name).scene;
}
void Form::setScene(std::string_view name, Scene scene) {
  at(name).scene = std::move(scene);
  changed(name);
}

TimerState Form::timer(std::string_view name) const {
  const Control* c = find(name);
  return c ? c->timer : TimerState{};
}
void Form::setTimer(std::string_view name, bool enabled, int intervalMs) {
  Control& c = at(name);
  c.timer = TimerState{enabled, intervalMs};
  changed(name);  // a restart (disable, set, enable) restarts the real timer
}
void Form::setTimerEnabled(std::string_view name, bool enabled) {
  Control& c = at(name);
  c.timer.enabled = enabled;
  changed(name);
}

std::set<std::string> Form::takeChanged() {
  std::set<std::string> out;
  out.swap(changed_);
  return out;
}

void Form::touch(std::string_view name) {
  if (!find(name)) CheckName(name);
  changed(name);
}

}  // namespace lumora
