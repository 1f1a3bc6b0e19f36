// The native view of frm_mavorin: one Win32 control per model control, bound both ways.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/form_table.hpp"
#include "app/frm_mavorin.hpp"
#include "form/controls.hpp"

namespace mavorin::win32 {

class MainWindow : public form::ControlObserver {
  public:
    explicit MainWindow(frm_mavorin& model);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    void show();

    void control_changed(form::Control& c) override;
    // Applies the model changes noted so far (normally done on the next message pass).
    void flush();
    // Brings every control in line with its model.
    void sync_all();
    // The child window of a control, by the control's name; nullptr when it has none.
    // Every control has one, but for the popup menu's items (sync() throws for any other).
    HWND widget(const std::string& name) const;

    // The window was asked to close. Without a handler it is destroyed.
    std::function<void()> on_close;
    // Shows the list's popup menu and returns the chosen command id (0: none); tests replace it.
    std::function<UINT(HMENU menu, POINT at)> track_menu;
    // Command id of a menu item in the popup, by the item's name.
    UINT menu_id(const std::string& name) const;

  private:
    struct Bound {
        form::Control* control = nullptr;
        HWND hwnd = nullptr;
        ControlKind kind = ControlKind::Label;
        Picture picture = Picture::None;
        form::OptionGroup* group = nullptr;  // options only
        int index = 0;                       // options: index in the group
        int id = 0;
    };

    static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK list_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR self);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle_list(HWND h, UINT msg, WPARAM wp, LPARAM lp);

    Bound& add(form::Control& c, const FormRow& row, const wchar_t* cls, DWORD style);
    void create_controls();
    void name_controls();
    bool in_popup_menu(const form::Control* c) const;
    void command(int id, int code);
    void scroll(WPARAM wp);
    void sync(form::Control* c);
    void sync_list();
    void apply_form();
    void copy_list_selection();
    void show_popup();
    void draw_item(const DRAWITEMSTRUCT& d);
    HBRUSH color_static(HDC dc, HWND child);
    void schedule_flush();

    frm_mavorin& m_;
    HWND hwnd_ = nullptr;
    HWND frame_ = nullptr;  // the maker's frame: the labels on it take its colour
    std::map<form::Control*, Bound> bound_;
    std::map<int, form::Control*> by_id_;
    std::map<std::string, HWND> by_name_;
    std::set<form::Control*> dirty_;
    bool flush_posted_ = false;
    bool syncing_ = false;
    int next_id_ = 100;
    bool com_ = false;                     // COM is ours to close
    std::vector<std::string> list_items_;  // what the list box shows
    HFONT font_ = nullptr, bold_ = nullptr, title_ = nullptr, mono_ = nullptr;
    HBRUSH form_brush_ = nullptr, frame_brush_ = nullptr;
    unsigned form_color_ = 0, frame_color_ = 0;
};

}  // namespace mavorin::win32
