// The command list and its popup menu: selection both ways, keys, clicks and dropped files.
// The SDK headers need <windows.h> first.
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
// clang-format on

#include <cstring>

#include "platform/win32/win32_text.hpp"
#include "win32view/main_window.hpp"

namespace mavorin::win32 {

namespace {

constexpr UINT kMenuBase = 1000;

int shift_state() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace

UINT MainWindow::menu_id(const std::string& name) const {
    const auto menu = popup_menu_table();
    for (UINT i = 0; i < menu.size(); ++i)
        if (menu[i].item && menu[i].item(m_)->name() == name) return kMenuBase + i;
    return 0;
}

bool MainWindow::in_popup_menu(const form::Control* c) const {
    if (c == &m_.mnulistboxcode) return true;
    for (const MenuRow& row : popup_menu_table())
        if (row.item && row.item(m_) == c) return true;
    return false;
}

void MainWindow::sync_list() {
    const form::ListBox& lb = m_.lst_code;
    HWND h = bound_[&m_.lst_code].hwnd;
    SendMessageW(h, WM_SETREDRAW, FALSE, 0);
    const auto& items = lb.items();
    while (list_items_.size() > items.size()) {
        SendMessageW(h, LB_DELETESTRING, list_items_.size() - 1, 0);
        list_items_.pop_back();
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (i < list_items_.size() && list_items_[i] == items[i]) continue;
        if (i < list_items_.size()) SendMessageW(h, LB_DELETESTRING, i, 0);
        SendMessageW(h, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(widen(items[i]).c_str()));
        if (i < list_items_.size())
            list_items_[i] = items[i];
        else
            list_items_.push_back(items[i]);
    }
    for (int i = 0; i < lb.list_count(); ++i) {
        const bool on = lb.selected(i);
        if ((SendMessageW(h, LB_GETSEL, i, 0) > 0) != on) SendMessageW(h, LB_SETSEL, on, i);
    }
    if (lb.list_index() >= 0) SendMessageW(h, LB_SETCARETINDEX, lb.list_index(), FALSE);
    SendMessageW(h, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(h, nullptr, TRUE);
    RECT r;
    GetWindowRect(h, &r);
    if (r.bottom - r.top != lb.height()) {
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        MoveWindow(h, r.left, r.top, r.right - r.left, lb.height(), TRUE);
        apply_form();
    }
}

void MainWindow::copy_list_selection() {
    HWND h = bound_[&m_.lst_code].hwnd;
    form::ListBox& lb = m_.lst_code;
    const int n = static_cast<int>(SendMessageW(h, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n && i < lb.list_count(); ++i)
        lb.set_selected(i, SendMessageW(h, LB_GETSEL, i, 0) > 0);
    lb.set_list_index(static_cast<int>(SendMessageW(h, LB_GETCARETINDEX, 0, 0)));
}

void MainWindow::show_popup() {
    flush();
    HMENU menu = CreatePopupMenu();
    const auto rows = popup_menu_table();
    for (UINT i = 0; i < rows.size(); ++i) {
        if (!rows[i].item) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const form::MenuItem* item = rows[i].item(m_);
        if (!item->visible()) continue;
        const std::wstring caption = widen(item->caption() + "\t" + rows[i].shortcut);
        AppendMenuW(menu, MF_STRING | (item->enabled() ? MF_ENABLED : MF_GRAYED), kMenuBase + i,
                    caption.c_str());
    }
    POINT at{};
    GetCursorPos(&at);
    const UINT chosen = track_menu ? track_menu(menu, at) : 0;
    DestroyMenu(menu);
    if (chosen < kMenuBase || chosen - kMenuBase >= rows.size()) return;
    const MenuRow& row = rows[chosen - kMenuBase];
    if (row.item && row.item(m_)->enabled()) row.item(m_)->click();
}

LRESULT MainWindow::handle_list(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    form::ListBox& lb = m_.lst_code;
    const float x = static_cast<float>(static_cast<short>(LOWORD(lp)));
    const float y = static_cast<float>(static_cast<short>(HIWORD(lp)));
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            const LRESULT r = DefSubclassProc(h, msg, wp, lp);
            copy_list_selection();
            if (lb.on_mouse_down)
                lb.on_mouse_down(msg == WM_LBUTTONDOWN ? 1 : 4, shift_state(), x, y);
            return r;
        }
        case WM_RBUTTONDOWN:
            // The popup leaves the selection as it is.
            SetFocus(h);
            copy_list_selection();
            if (lb.on_mouse_down) lb.on_mouse_down(2, shift_state(), x, y);
            return 0;
        case WM_LBUTTONDBLCLK: {
            const LRESULT r = DefSubclassProc(h, msg, wp, lp);
            copy_list_selection();
            if (lb.on_dbl_click) lb.on_dbl_click();
            return r;
        }
        case WM_KEYDOWN:
            if (GetKeyState(VK_CONTROL) < 0 && wp < 128 && wp != 0 &&
                strchr("ACDNVX", static_cast<int>(wp)))
                return 0;  // the control character that follows is the command
            {
                const LRESULT r = DefSubclassProc(h, msg, wp, lp);
                copy_list_selection();
                return r;
            }
        case WM_CHAR:
            if (lb.on_key_press) lb.on_key_press(static_cast<int>(wp));
            if (wp < 32) return 0;
            return DefSubclassProc(h, msg, wp, lp);
        case WM_KEYUP: {
            const LRESULT r = DefSubclassProc(h, msg, wp, lp);
            copy_list_selection();
            if (lb.on_key_up) lb.on_key_up(static_cast<int>(wp), shift_state());
            return r;
        }
        case WM_DROPFILES: {
            HDROP drop = reinterpret_cast<HDROP>(wp);
            std::vector<std::string> files;
            const UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < n; ++i) {
                std::wstring f(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
                f.resize(DragQueryFileW(drop, i, f.data(), static_cast<UINT>(f.size())));
                files.push_back(narrow(f));
            }
            DragFinish(drop);
            if (lb.on_drop) lb.on_drop(files);
            return 0;
        }
        default:
            return DefSubclassProc(h, msg, wp, lp);
    }
}

LRESULT CALLBACK MainWindow::list_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR self) {
    return reinterpret_cast<MainWindow*>(self)->handle_list(h, msg, wp, lp);
}

}  // namespace mavorin::win32
