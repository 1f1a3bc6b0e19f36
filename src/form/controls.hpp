// The control model: plain controls whose handlers run synchronously when code assigns to them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mavorin::form {

class Control;

// The view: told after a control's visible state changed.
class ControlObserver {
  public:
    virtual ~ControlObserver() = default;
    virtual void control_changed(Control& c) = 0;
};

class Control {
  public:
    explicit Control(std::string name) : name_(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    bool enabled() const { return enabled_; }
    void set_enabled(bool on);
    bool visible() const { return visible_; }
    void set_visible(bool on);
    void set_observer(ControlObserver* o) { observer_ = o; }

  protected:
    void notify();

  private:
    std::string name_;
    bool enabled_ = true;
    bool visible_ = true;
    ControlObserver* observer_ = nullptr;
};

class Label : public Control {
  public:
    Label(std::string name, std::string caption) : Control(std::move(name)), caption_(caption) {}
    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& c);

  private:
    std::string caption_;
};

class TextBox : public Control {
  public:
    TextBox(std::string name, std::string text) : Control(std::move(name)), text_(text) {}
    const std::string& text() const { return text_; }
    // Fires on_change (nested, before returning) unless the text is unchanged.
    void set_text(const std::string& t);
    // The view calls this when the box loses the keyboard focus.
    void lose_focus();
    std::function<void()> on_change;
    std::function<void()> on_lost_focus;

  private:
    std::string text_;
};

class Button : public Control {
  public:
    Button(std::string name, std::string caption) : Control(std::move(name)), caption_(caption) {}
    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& c);
    void click();
    std::function<void()> on_click;

  private:
    std::string caption_;
};

// A picture control; `picture` is an index into the view's artwork, -1 for none.
class Image : public Control {
  public:
    explicit Image(std::string name, int picture = -1)
        : Control(std::move(name)), picture_(picture) {}
    int picture() const { return picture_; }
    void set_picture(int p);
    void click();
    std::function<void()> on_click;

  private:
    int picture_;
};

class CheckBox : public Control {
  public:
    CheckBox(std::string name, int value) : Control(std::move(name)), value_(value) {}
    int value() const { return value_; }
    // Fires on_click unless the value is unchanged.
    void set_value(int v);
    std::function<void()> on_click;

  private:
    int value_;
};

// An indexed group of option buttons: selecting one clears the others.
class OptionGroup {
  public:
    OptionGroup(std::string name, std::vector<std::string> captions);
    int size() const { return static_cast<int>(buttons_.size()); }
    // The button at index i (its name is "name(i)").
    class Button : public Control {
      public:
        Button(std::string name, std::string caption)
            : Control(std::move(name)), caption_(caption) {}
        const std::string& caption() const { return caption_; }
        bool value() const { return value_; }

      private:
        friend class OptionGroup;
        std::string caption_;
        bool value_ = false;
    };
    Button& operator[](int i) { return *buttons_.at(i); }
    const Button& operator[](int i) const { return *buttons_.at(i); }
    // Index of the selected button, -1 when none.
    int selected() const;
    // Selects button i, clears the others and fires on_click(i); nothing if i is already selected.
    void select(int i);
    const std::string& name() const { return name_; }
    std::function<void(int)> on_click;

  private:
    std::string name_;
    std::vector<std::unique_ptr<Button>> buttons_;
};

// A drop-down selection list: the program selects an entry by its index or by its text.
class ComboBox : public Control {
  public:
    ComboBox(std::string name, std::vector<std::string> items = {});
    const std::vector<std::string>& items() const { return items_; }
    int list_count() const { return static_cast<int>(items_.size()); }
    std::string item(int i) const;
    void clear();
    void add_item(const std::string& s);
    // Replaces entry i, creating entries up to i when the list is shorter.
    void set_item(int i, const std::string& s);
    int list_index() const { return index_; }
    // Fires on_click unless the index is unchanged; an index outside the list selects nothing.
    void set_list_index(int i);
    // The selected entry's text, empty when nothing is selected.
    std::string text() const;
    // Selects the first entry with exactly this text; a text not in the list changes nothing.
    void set_text(const std::string& t);
    std::function<void()> on_click;

  private:
    std::vector<std::string> items_;
    int index_ = -1;
};

// A list box with extended multi-selection and a focus line.
class ListBox : public Control {
  public:
    explicit ListBox(std::string name) : Control(std::move(name)) {}
    const std::vector<std::string>& items() const { return items_; }
    int list_count() const { return static_cast<int>(items_.size()); }
    void clear();
    void add_item(const std::string& s);
    // Clearing and adding the lines one by one, then selecting and focusing `current` (-1 for
    // none), in one step: the view hears of it only when the result differs.
    void set_items(std::vector<std::string> items, int current);
    bool selected(int i) const;
    void set_selected(int i, bool on);
    int selected_count() const;
    // The line holding the focus, -1 for none.
    int list_index() const { return index_; }
    void set_list_index(int i);
    int height() const { return height_; }
    void set_height(int px);
    // Events raised by the view (or tests) for user actions.
    std::function<void(int button, int shift, float x, float y)> on_mouse_down;
    std::function<void(int key, int shift)> on_key_up;
    std::function<void(int ch)> on_key_press;
    std::function<void()> on_dbl_click;
    std::function<void(const std::vector<std::string>&)> on_drop;

  private:
    std::vector<std::string> items_;
    std::vector<bool> sel_;
    int index_ = -1;
    int height_ = 134;
};

class ScrollBar : public Control {
  public:
    ScrollBar(std::string name, int min, int max)
        : Control(std::move(name)), min_(min), max_(max) {}
    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    // Fires on_change unless unchanged; the value is kept within min..max.
    void set_value(int v);
    void set_min(int v);
    // Lowering max below the value moves the value (and fires on_change).
    void set_max(int v);
    std::function<void()> on_change;

  private:
    int min_, max_, value_ = 0;
};

class MenuItem : public Control {
  public:
    MenuItem(std::string name, std::string caption) : Control(std::move(name)), caption_(caption) {}
    const std::string& caption() const { return caption_; }
    void set_caption(const std::string& c);
    void click();
    std::function<void()> on_click;

  private:
    std::string caption_;
};

// A popup menu: popup() asks the view to show it at the pointer.
class PopupMenu : public Control {
  public:
    PopupMenu(std::string name, std::vector<MenuItem*> items)
        : Control(std::move(name)), items_(items) {}
    const std::vector<MenuItem*>& items() const { return items_; }
    void popup();
    int popup_count() const { return popups_; }
    std::function<void()> on_popup;  // set by the view

  private:
    std::vector<MenuItem*> items_;
    int popups_ = 0;
};

// The form itself: caption, background colour (BGR as the window colour value) and outer height.
class Form : public Control {
  public:
    explicit Form(std::string name) : Control(std::move(name)) {}
    unsigned back_color() const { return back_color_; }
    void set_back_color(unsigned c);
    int height_twips() const { return height_twips_; }
    void set_height_twips(int h);

  private:
    unsigned back_color_ = 0xF0F0F0;
    int height_twips_ = 7665;
};

}  // namespace mavorin::form
