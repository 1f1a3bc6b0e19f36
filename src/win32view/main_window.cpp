// Native controls for every model control. Model changes are applied once per message pass;
// user edits go into the model's setters so that every handler runs exactly as from code.
#include "win32view/main_window.hpp"

#include <commctrl.h>
#include <shellapi.h>

#include "platform/win32/win32_text.hpp"
#include "win32view/artwork.hpp"
#include "win32view/layout.hpp"

namespace mavorin::win32 {

namespace {

const wchar_t kClass[] = L"Mavorin";
constexpr UINT kFlush = WM_APP + 10;
constexpr UINT_PTR kListSubclass = 1;

std::wstring window_text(HWND h) {
    std::wstring t(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    t.resize(static_cast<size_t>(GetWindowTextW(h, t.data(), static_cast<int>(t.size()))));
    return t;
}

void set_text_if_changed(HWND h, const std::string& utf8) {
    const std::wstring w = widen(utf8);
    if (window_text(h) != w) SetWindowTextW(h, w.c_str());
}

HFONT make_font(int height, int weight, const wchar_t* face) {
    return CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace

MainWindow::MainWindow(frm_mavorin& model) : m_(model) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    RECT r{0, 0, kFormWidth, 480};
    AdjustWindowRect(&r, style, FALSE);
    hwnd_ =
        CreateWindowExW(0, kClass, L"Mavorin", style, CW_USEDEFAULT, CW_USEDEFAULT,
                        r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, this);
    font_ = make_font(-12, FW_NORMAL, L"Tahoma");
    bold_ = make_font(-12, FW_BOLD, L"Tahoma");
    title_ = make_font(-24, FW_BOLD, L"Tahoma");
    mono_ = make_font(-13, FW_NORMAL, L"Courier New");
    track_menu = [this](HMENU menu, POINT at) {
        return static_cast<UINT>(
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr));
    };
    create_controls();
    place_controls();
    for (form::Control* c : m_.all_controls()) c->set_observer(this);
    sync_all();
}

MainWindow::~MainWindow() {
    for (form::Control* c : m_.all_controls()) c->set_observer(nullptr);
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(bold_),
                      static_cast<HGDIOBJ>(title_), static_cast<HGDIOBJ>(mono_),
                      static_cast<HGDIOBJ>(form_brush_), static_cast<HGDIOBJ>(frame_brush_)})
        if (o) DeleteObject(o);
}

void MainWindow::show() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
}

HWND MainWindow::widget(const std::string& name) const {
    auto it = by_name_.find(name);
    return it == by_name_.end() ? nullptr : it->second;
}

MainWindow::Bound& MainWindow::add(form::Control& c, Kind kind, const wchar_t* cls, DWORD style) {
    Bound b;
    b.control = &c;
    b.kind = kind;
    b.id = next_id_++;
    b.hwnd = CreateWindowExW(kind == Kind::Text || kind == Kind::List ? WS_EX_CLIENTEDGE : 0, cls,
                             L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 10, 10, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)),
                             GetModuleHandleW(nullptr), nullptr);
    SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    by_id_[b.id] = &c;
    by_name_[c.name()] = b.hwnd;
    return bound_[&c] = b;
}

void MainWindow::create_controls() {
    frm_mavorin& m = m_;
    // Creation order is the tab order.
    for (form::Image* img : {&m.img_mavorin, &m.Image1, &m.Image2, &m.img_vantrellogo,
                             &m.img_Orvik_Logo, &m.img_befehl_left, &m.img_befehl_right})
        add(*img, Kind::Picture, L"STATIC", SS_OWNERDRAW | SS_NOTIFY);
    for (form::Control* c : m.all_controls())
        if (auto* l = dynamic_cast<form::Label*>(c))
            add(*l, Kind::Label, L"STATIC", SS_LEFT | SS_NOPREFIX);
    SendMessageW(bound_[&m.lbl_title].hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(title_), FALSE);
    SendMessageW(bound_[&m.lbl_info].hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(bold_), FALSE);
    SetWindowLongW(bound_[&m.lbl_hscmax].hwnd, GWL_STYLE,
                   GetWindowLongW(bound_[&m.lbl_hscmax].hwnd, GWL_STYLE) | SS_RIGHT);

    for (form::ComboBox* c : {&m.com_code, &m.com_code0})
        add(*c, Kind::Combo, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
    auto text = [&](form::TextBox& t) { add(t, Kind::Text, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP); };
    auto check = [&](form::CheckBox& c) {
        add(c, Kind::Check, L"BUTTON", BS_CHECKBOX | WS_TABSTOP);
    };
    auto combo = [&](form::ComboBox& c) {
        add(c, Kind::Combo, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
    };
    auto button = [&](form::Button& b) {
        add(b, Kind::Button, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
    };
    auto options = [&](form::OptionGroup& g) {
        for (int i = 0; i < g.size(); ++i) {
            Bound& b = add(g[i], Kind::Option, L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP);
            b.group = &g;
            b.index = i;
            SetWindowTextW(b.hwnd, widen(g[i].caption()).c_str());
        }
    };
    text(m.txt_0_wait);
    text(m.txt_0_loop);
    check(m.chk_0_transparenz);
    check(m.chk_0_vordergrund);
    check(m.chk_0_listbox);
    combo(m.com_0_startcode);
    combo(m.com_0_abbruchcode);
    text(m.txt_1_random1);
    text(m.txt_1_random2);
    text(m.txt_2_x);
    text(m.txt_2_y);
    text(m.txt_10_x);
    text(m.txt_10_y);
    text(m.txt_10_abbruch);
    options(m.opt_3_click);
    combo(m.com_4_eingabebefehl);
    text(m.txt_4_eingabetext);
    text(m.txt_5_start);
    text(m.txt_5_hochzählen);
    text(m.txt_6_pfad);
    button(m.cmd_6_pfad);
    options(m.opt_7_pc);
    combo(m.com_8_laufwerk);
    combo(m.com_8_move);
    text(m.txt_9_pfad);
    button(m.cmd_9_pfad);
    text(m.txt_befehle);
    add(m.hsc_befehle, Kind::Scroll, L"SCROLLBAR", SBS_HORZ | WS_TABSTOP);
    Bound& list =
        add(m.lst_code, Kind::List, L"LISTBOX",
            LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP);
    SendMessageW(list.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(mono_), FALSE);
    DragAcceptFiles(list.hwnd, TRUE);
    SetWindowSubclass(list.hwnd, list_proc, kListSubclass, reinterpret_cast<DWORD_PTR>(this));
    for (form::Button* b :
         {&m.cmd_start, &m.cmd_neu, &m.cmd_load, &m.cmd_load2, &m.cmd_save, &m.cmd_save2})
        button(*b);

    m.mnulistboxcode.on_popup = [this] { show_popup(); };
}

void MainWindow::place_controls() {
    for (const auto& [name, r] : form_layout()) {
        HWND h = widget(name);
        if (!h) continue;
        const bool combo = name.rfind("com_", 0) == 0;
        // A drop-down list's height includes its open list.
        MoveWindow(h, r.left, r.top, r.right, combo ? r.bottom + 240 : r.bottom, FALSE);
    }
    // The abort field sits in the blank gap of its label's caption.
    HWND label = widget("lbl_10_abbruch");
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font_);
    SIZE lead{}, gap{};
    GetTextExtentPoint32W(dc, L"Abbruchbedingung nach: ", 23, &lead);
    const std::wstring blanks(36, L' ');
    GetTextExtentPoint32W(dc, blanks.c_str(), 36, &gap);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    const RECT lr = form_layout().at("lbl_10_abbruch");
    MoveWindow(widget("txt_10_abbruch"), lr.left + lead.cx, lr.top - 3, std::max<LONG>(40, gap.cx),
               22, FALSE);
    // Keep the field above its label.
    SetWindowPos(widget("txt_10_abbruch"), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void MainWindow::control_changed(form::Control& c) {
    dirty_.insert(&c);
    schedule_flush();
}

void MainWindow::schedule_flush() {
    if (flush_posted_ || !hwnd_) return;
    flush_posted_ = PostMessageW(hwnd_, kFlush, 0, 0);
}

void MainWindow::flush() {
    flush_posted_ = false;
    auto dirty = std::move(dirty_);
    dirty_.clear();
    for (form::Control* c : dirty) sync(c);
}

void MainWindow::sync_all() {
    dirty_.clear();
    for (form::Control* c : m_.all_controls()) sync(c);
}

void MainWindow::sync(form::Control* c) {
    if (c == &m_.form || c == &m_.frame_vantrel) {
        apply_form();
        return;
    }
    auto it = bound_.find(c);
    if (it == bound_.end()) return;  // menu items: the popup is built when shown
    const Bound& b = it->second;
    syncing_ = true;
    switch (b.kind) {
        case Kind::Label:
            set_text_if_changed(b.hwnd, static_cast<form::Label*>(c)->caption());
            break;
        case Kind::Text: {
            const std::wstring want = widen(static_cast<form::TextBox*>(c)->text());
            if (window_text(b.hwnd) != want) {
                DWORD start = 0, end = 0;
                SendMessageW(b.hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                             reinterpret_cast<LPARAM>(&end));
                SetWindowTextW(b.hwnd, want.c_str());
                const DWORD caret = std::min<DWORD>(end, static_cast<DWORD>(want.size()));
                SendMessageW(b.hwnd, EM_SETSEL, caret, caret);
            }
            break;
        }
        case Kind::Button:
            set_text_if_changed(b.hwnd, static_cast<form::Button*>(c)->caption());
            break;
        case Kind::Check:
            SendMessageW(b.hwnd, BM_SETCHECK,
                         static_cast<form::CheckBox*>(c)->value() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case Kind::Option:
            SendMessageW(b.hwnd, BM_SETCHECK,
                         (*b.group)[b.index].value() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case Kind::Combo: {
            auto* cb = static_cast<form::ComboBox*>(c);
            bool same = SendMessageW(b.hwnd, CB_GETCOUNT, 0, 0) == cb->list_count();
            for (int i = 0; same && i < cb->list_count(); ++i) {
                const LRESULT n = SendMessageW(b.hwnd, CB_GETLBTEXTLEN, i, 0);
                std::wstring t(static_cast<size_t>(n < 0 ? 0 : n) + 1, L'\0');
                SendMessageW(b.hwnd, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(t.data()));
                t.resize(static_cast<size_t>(n < 0 ? 0 : n));
                same = t == widen(cb->item(i));
            }
            if (!same) {
                SendMessageW(b.hwnd, CB_RESETCONTENT, 0, 0);
                for (const auto& item : cb->items())
                    SendMessageW(b.hwnd, CB_ADDSTRING, 0,
                                 reinterpret_cast<LPARAM>(widen(item).c_str()));
            }
            SendMessageW(b.hwnd, CB_SETCURSEL, static_cast<WPARAM>(cb->list_index()), 0);
            break;
        }
        case Kind::Scroll: {
            const form::ScrollBar& sb = m_.hsc_befehle;
            SCROLLINFO si{
                sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, sb.min(), sb.max(), 0, sb.value(), 0};
            SetScrollInfo(b.hwnd, SB_CTL, &si, TRUE);
            break;
        }
        case Kind::List:
            sync_list();
            break;
        case Kind::Picture:
            InvalidateRect(b.hwnd, nullptr, TRUE);
            break;
    }
    EnableWindow(b.hwnd, c->enabled());
    ShowWindow(b.hwnd, c->visible() ? SW_SHOWNA : SW_HIDE);
    syncing_ = false;
}

void MainWindow::apply_form() {
    if (!form_brush_ || form_color_ != m_.form.back_color()) {
        if (form_brush_) DeleteObject(form_brush_);
        form_color_ = m_.form.back_color();
        form_brush_ = CreateSolidBrush(form_color_);
    }
    if (!frame_brush_ || frame_color_ != m_.frame_vantrel.back_color()) {
        if (frame_brush_) DeleteObject(frame_brush_);
        frame_color_ = m_.frame_vantrel.back_color();
        frame_brush_ = CreateSolidBrush(lighter(frame_color_, 6));
    }
    // The form's outer height in twips; the list may need more room when it is tall.
    HDC dc = GetDC(nullptr);
    const int dpi = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
    const int outer = static_cast<int>(m_.form.height_twips() * dpi / 1440.0 + 0.5);
    RECT wr, cr;
    GetWindowRect(hwnd_, &wr);
    GetClientRect(hwnd_, &cr);
    const int frame = (wr.bottom - wr.top) - (cr.bottom - cr.top);
    RECT lr;
    GetWindowRect(bound_[&m_.lst_code].hwnd, &lr);
    const RECT g = form_layout().at("lst_code");
    const int needed = g.top + (lr.bottom - lr.top) + 10 + frame;
    const int height = std::max(outer, needed);
    if (wr.bottom - wr.top != height)
        SetWindowPos(hwnd_, nullptr, 0, 0, wr.right - wr.left, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void MainWindow::command(int id, int code) {
    auto it = by_id_.find(id);
    if (it == by_id_.end() || syncing_) return;
    form::Control* c = it->second;
    const Bound& b = bound_[c];
    switch (b.kind) {
        case Kind::Text:
            if (code == EN_CHANGE)
                static_cast<form::TextBox*>(c)->set_text(narrow(window_text(b.hwnd)));
            else if (code == EN_KILLFOCUS)
                static_cast<form::TextBox*>(c)->lose_focus();
            break;
        case Kind::Button:
            if (code == BN_CLICKED) static_cast<form::Button*>(c)->click();
            break;
        case Kind::Check:
            if (code == BN_CLICKED) {
                auto* cb = static_cast<form::CheckBox*>(c);
                cb->set_value(SendMessageW(b.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1);
                sync(c);
            }
            break;
        case Kind::Option:
            if (code == BN_CLICKED) {
                b.group->select(b.index);
                for (int i = 0; i < b.group->size(); ++i) sync(&(*b.group)[i]);
            }
            break;
        case Kind::Combo:
            if (code == CBN_SELCHANGE) {
                auto* cb = static_cast<form::ComboBox*>(c);
                cb->set_list_index(static_cast<int>(SendMessageW(b.hwnd, CB_GETCURSEL, 0, 0)));
                sync(c);
            }
            break;
        case Kind::Picture:
            if (code == STN_CLICKED) static_cast<form::Image*>(c)->click();
            break;
        default:
            break;
    }
}

void MainWindow::scroll(WPARAM wp) {
    form::ScrollBar& sb = m_.hsc_befehle;
    HWND h = bound_[&sb].hwnd;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(h, SB_CTL, &si);
    int v = sb.value();
    switch (LOWORD(wp)) {
        case SB_LINELEFT:
        case SB_PAGELEFT:
            --v;
            break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT:
            ++v;
            break;
        case SB_THUMBPOSITION:
            v = si.nTrackPos;
            break;
        case SB_LEFT:
            v = sb.min();
            break;
        case SB_RIGHT:
            v = sb.max();
            break;
        default:
            return;  // dragging the thumb changes the value when it is let go
    }
    v = std::clamp(v, sb.min(), std::max(sb.min(), sb.max()));
    SetScrollPos(h, SB_CTL, v, TRUE);
    sb.set_value(v);
}

HBRUSH MainWindow::color_static(HDC dc, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    const RECT f = form_layout().at("frame_vantrel");
    const bool in_frame = r.left >= f.left && r.top >= f.top && r.right <= f.left + f.right &&
                          r.bottom <= f.top + f.bottom;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, in_frame ? lighter(frame_color_, 6) : form_color_);
    return in_frame ? frame_brush_ : form_brush_;
}

void MainWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const RECT f = form_layout().at("frame_vantrel");
    RECT fr{f.left, f.top, f.left + f.right, f.top + f.bottom};
    FillRect(dc, &fr, frame_brush_);
    DrawEdge(dc, &fr, EDGE_ETCHED, BF_RECT);
    if (m_.img_box.visible()) {
        const RECT b = form_layout().at("img_box");
        RECT br{b.left, b.top, b.left + b.right, b.top + b.bottom};
        DrawEdge(dc, &br, EDGE_SUNKEN, BF_RECT);
    }
    EndPaint(hwnd_, &ps);
}

void MainWindow::draw_item(const DRAWITEMSTRUCT& d) {
    auto it = by_id_.find(static_cast<int>(d.CtlID));
    if (it == by_id_.end()) return;
    auto* img = static_cast<form::Image*>(it->second);
    RECT r = d.rcItem;
    FillRect(d.hDC, &r, form_brush_);
    const std::string& n = img->name();
    if (n == "img_mavorin") {
        draw_logo(d.hDC, r, img->picture());
    } else if (n == "img_befehl_left" || n == "img_befehl_right") {
        draw_arrow(d.hDC, r, n == "img_befehl_left");
    } else if (n == "img_vantrellogo" || n == "img_Orvik_Logo") {
        FillRect(d.hDC, &r, frame_brush_);
        draw_emblem(d.hDC, r);
    } else {
        DrawEdge(d.hDC, &r, EDGE_ETCHED, BF_TOP);  // the separators
    }
}

LRESULT MainWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case kFlush:
            flush();
            return 0;
        case WM_COMMAND:
            if (lp) command(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_HSCROLL:
            if (lp) scroll(wp);
            return 0;
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<LRESULT>(
                color_static(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd_, &r);
            FillRect(reinterpret_cast<HDC>(wp), &r, form_brush_);
            return 1;
        }
        case WM_PAINT:
            paint();
            return 0;
        case WM_DRAWITEM:
            draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_CLOSE:
            if (on_close)
                on_close();
            else
                DestroyWindow(hwnd_);
            return 0;
        default:
            return DefWindowProcW(hwnd_, msg, wp, lp);
    }
}

LRESULT CALLBACK MainWindow::proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* self = static_cast<MainWindow*>(cs->lpCreateParams);
        self->hwnd_ = h;
        SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    if (!self || msg == WM_NCCREATE || msg == WM_CREATE) return DefWindowProcW(h, msg, wp, lp);
    return self->handle(msg, wp, lp);
}

}  // namespace mavorin::win32
