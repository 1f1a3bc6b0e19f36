// Control semantics: assignment fires the handler at once, unchanged values fire nothing.
#include "form/controls.hpp"

#include <memory>

namespace mavorin::form {

void Control::set_enabled(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    notify();
}

void Control::set_visible(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    notify();
}

void Control::notify() {
    if (observer_) observer_->control_changed(*this);
}

void Label::set_caption(const std::string& c) {
    if (caption_ == c) return;
    caption_ = c;
    notify();
}

void TextBox::set_text(const std::string& t) {
    if (text_ == t) return;
    text_ = t;
    notify();
    if (on_change) on_change();
}

void TextBox::lose_focus() {
    if (on_lost_focus) on_lost_focus();
}

void Button::set_caption(const std::string& c) {
    if (caption_ == c) return;
    caption_ = c;
    notify();
}

void Button::click() {
    if (on_click) on_click();
}

void Image::set_picture(int p) {
    if (picture_ == p) return;
    picture_ = p;
    notify();
}

void Image::click() {
    if (on_click) on_click();
}

void CheckBox::set_value(int v) {
    if (value_ == v) return;
    value_ = v;
    notify();
    if (on_click) on_click();
}

OptionGroup::OptionGroup(std::string name, std::vector<std::string> captions)
    : name_(std::move(name)) {
    for (size_t i = 0; i < captions.size(); ++i)
        buttons_.push_back(
            std::make_unique<Button>(name_ + "(" + std::to_string(i) + ")", captions[i]));
}

int OptionGroup::selected() const {
    for (int i = 0; i < size(); ++i)
        if (buttons_[i]->value_) return i;
    return -1;
}

void OptionGroup::select(int i) {
    if (i < 0 || i >= size() || buttons_[i]->value_) return;
    for (int k = 0; k < size(); ++k) {
        if (buttons_[k]->value_ != (k == i)) {
            buttons_[k]->value_ = (k == i);
            buttons_[k]->notify();
        }
    }
    if (on_click) on_click(i);
}

ComboBox::ComboBox(std::string name, std::vector<std::string> items)
    : Control(std::move(name)), items_(std::move(items)) {}

std::string ComboBox::item(int i) const {
    if (i < 0 || i >= list_count()) return {};
    return items_[i];
}

void ComboBox::clear() {
    items_.clear();
    index_ = -1;
    notify();
}

void ComboBox::add_item(const std::string& s) {
    items_.push_back(s);
    notify();
}

void ComboBox::set_item(int i, const std::string& s) {
    if (i < 0) return;
    if (i >= list_count()) items_.resize(i + 1);
    items_[i] = s;
    notify();
}

void ComboBox::set_list_index(int i) {
    if (i < -1 || i >= list_count()) i = -1;
    if (i == index_) return;
    index_ = i;
    notify();
    if (on_click) on_click();
}

std::string ComboBox::text() const {
    return item(index_);
}

void ComboBox::set_text(const std::string& t) {
    for (int i = 0; i < list_count(); ++i) {
        if (items_[i] == t) {
            set_list_index(i);
            return;
        }
    }
}

void ListBox::clear() {
    items_.clear();
    sel_.clear();
    index_ = -1;
    notify();
}

void ListBox::add_item(const std::string& s) {
    items_.push_back(s);
    sel_.push_back(false);
    notify();
}

void ListBox::set_items(std::vector<std::string> items, int current) {
    if (current < -1 || current >= static_cast<int>(items.size())) current = -1;
    std::vector<bool> sel(items.size(), false);
    if (current >= 0) sel[current] = true;
    if (items == items_ && sel == sel_ && index_ == current) return;
    items_ = std::move(items);
    sel_ = std::move(sel);
    index_ = current;
    notify();
}

bool ListBox::selected(int i) const {
    return i >= 0 && i < list_count() && sel_[i];
}

void ListBox::set_selected(int i, bool on) {
    if (i < 0 || i >= list_count() || sel_[i] == on) return;
    sel_[i] = on;
    notify();
}

int ListBox::selected_count() const {
    int n = 0;
    for (bool b : sel_) n += b;
    return n;
}

void ListBox::set_list_index(int i) {
    if (i < -1 || i >= list_count()) i = -1;
    if (i == index_) return;
    index_ = i;
    notify();
}

void ListBox::set_height(int px) {
    if (height_ == px) return;
    height_ = px;
    notify();
}

void ScrollBar::set_value(int v) {
    if (v < min_) v = min_;
    if (v > max_) v = max_;
    if (v == value_) return;
    value_ = v;
    notify();
    if (on_change) on_change();
}

void ScrollBar::set_min(int v) {
    min_ = v;
    notify();
    if (value_ < min_) set_value(min_);
}

void ScrollBar::set_max(int v) {
    max_ = v;
    notify();
    if (value_ > max_) set_value(max_);
}

void MenuItem::set_caption(const std::string& c) {
    if (caption_ == c) return;
    caption_ = c;
    notify();
}

void MenuItem::click() {
    if (on_click) on_click();
}

void PopupMenu::popup() {
    ++popups_;
    if (on_popup) on_popup();
}

void Form::set_back_color(unsigned c) {
    if (back_color_ == c) return;
    back_color_ = c;
    notify();
}

void Form::set_height_twips(int h) {
    if (height_twips_ == h) return;
    height_twips_ = h;
    notify();
}

}  // namespace mavorin::form
