// Native controls for every model control. Model changes are applied once per message pass;
// user edits go into the model's setters so that every handler runs exactly as from code.
#include "win32view/main_window.hpp"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>

#include <stdexcept>

#include "platform/win32/win32_text.hpp"
#include "win32view/artwork.hpp"

namespace mavorin::win32 {

namespace {

const wchar_t kClass[] = L"Mavorin";
constexpr UINT kFlush = WM_APP + 10;
constexpr UINT_PTR kTitleTimer = 1;
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
    RECT r{0, 0, to_pixels({0, 0, kFormWidthTwips, 0}).width, 480};
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
    name_controls();
    for (form::Control* c : m_.all_controls()) c->set_observer(this);
    sync_all();
    // The pass counter is no control, so the title is polled rather than observed.
    SetTimer(hwnd_, kTitleTimer, 100, nullptr);
    set_text_if_changed(hwnd_, m_.document.title());
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
    if (com_) CoUninitialize();
}

void MainWindow::show() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
}

HWND MainWindow::widget(const std::string& name) const {
    auto it = by_name_.find(name);
    return it == by_name_.end() ? nullptr : it->second;
}

MainWindow::Bound& MainWindow::add(form::Control& c, const FormRow& row, const wchar_t* cls,
                                   DWORD style) {
    Bound b;
    b.control = &c;
    b.kind = row.kind;
    b.picture = row.picture;
    b.id = next_id_++;
    const bool sunken = row.kind == ControlKind::Text || row.kind == ControlKind::List;
    const FormRect r = to_pixels(row.twips);
    // A drop-down list's height includes its open list.
    const int height = row.kind == ControlKind::Combo ? r.height + 240 : r.height;
    b.hwnd = CreateWindowExW(
        sunken ? WS_EX_CLIENTEDGE : 0, cls, L"",
        WS_CHILD | WS_CLIPSIBLINGS | (row.takes_focus() ? WS_TABSTOP : 0) | style, r.x, r.y,
        r.width, height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)),
        GetModuleHandleW(nullptr), nullptr);
    HFONT font = row.font == FontRole::Title    ? title_
                 : row.font == FontRole::Prompt ? bold_
                 : row.font == FontRole::Mono   ? mono_
                                                : font_;
    SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    by_id_[b.id] = &c;
    if (!by_name_.emplace(c.name(), b.hwnd).second)
        throw std::logic_error("two windows for one control: " + c.name());
    return bound_[&c] = b;
}

void MainWindow::create_controls() {
    // Creation order is the tab order (and the order on top: the first child lies highest).
    std::vector<HWND> under;
    for (const FormRow& row : form_table()) {
        form::Control& c = row.control(m_);
        switch (row.kind) {
            case ControlKind::Label:
                add(c, row, L"STATIC",
                    SS_NOPREFIX | (row.align == Align::Right ? SS_RIGHT : SS_LEFT));
                break;
            case ControlKind::Text:
                add(c, row, L"EDIT", ES_AUTOHSCROLL);
                break;
            case ControlKind::Button:
                add(c, row, L"BUTTON", BS_PUSHBUTTON);
                break;
            case ControlKind::Check:
                add(c, row, L"BUTTON", BS_CHECKBOX);
                break;
            case ControlKind::Option: {
                Bound& b = add(c, row, L"BUTTON", BS_RADIOBUTTON);
                b.group = row.group(m_);
                b.index = row.index;
                SetWindowTextW(b.hwnd, widen((*b.group)[b.index].caption()).c_str());
                break;
            }
            case ControlKind::Combo:
                add(c, row, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL);
                break;
            case ControlKind::Scroll:
                add(c, row, L"SCROLLBAR", SBS_HORZ);
                break;
            case ControlKind::List: {
                Bound& list = add(c, row, L"LISTBOX",
                                  LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL);
                DragAcceptFiles(list.hwnd, TRUE);
                SetWindowSubclass(list.hwnd, list_proc, kListSubclass,
                                  reinterpret_cast<DWORD_PTR>(this));
                break;
            }
            case ControlKind::Picture:
            case ControlKind::Frame: {
                Bound& b = add(c, row, L"STATIC", SS_OWNERDRAW | SS_NOTIFY);
                if (row.kind == ControlKind::Frame || row.picture == Picture::Box)
                    under.push_back(b.hwnd);
                if (row.kind == ControlKind::Frame) frame_ = b.hwnd;
                break;
            }
        }
    }
    // The frames lie under the fields they surround.
    for (HWND h : under) SetWindowPos(h, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_.mnulistboxcode.on_popup = [this] { show_popup(); };

    const CaptionGap& gap = caption_gap();
    HWND label = bound_.at(&gap.label(m_)).hwnd;
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font_);
    SIZE lead{}, blanks{};
    const std::wstring lead_text = widen(gap.lead), blank_text(gap.blanks, L' ');
    GetTextExtentPoint32W(dc, lead_text.c_str(), static_cast<int>(lead_text.size()), &lead);
    GetTextExtentPoint32W(dc, blank_text.c_str(), gap.blanks, &blanks);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT lr;
    GetWindowRect(label, &lr);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&lr), 2);
    const FormRect f = caption_gap_field({lr.left, lr.top, lr.right - lr.left, lr.bottom - lr.top},
                                         lead.cx, blanks.cx);
    HWND field = bound_.at(&gap.field(m_)).hwnd;
    MoveWindow(field, f.x, f.y, f.width, f.height, FALSE);
    // The label goes under the field; the field keeps its place in the tab order.
    SetWindowPos(label, field, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Screen readers ask MSAA for a control's name. The list, the scroll bar and the pictures never
// draw their window text, so it carries the name; every control also gets its name set outright,
// for the fields whose label MSAA would not find.
void MainWindow::name_controls() {
    com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IAccPropServices* props = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&props))))
        props = nullptr;
    for (const FormRow& row : form_table()) {
        const std::wstring name = widen(spoken_name(row, m_));
        if (name.empty()) continue;
        HWND h = bound_.at(&row.control(m_)).hwnd;
        if (row.kind == ControlKind::List || row.kind == ControlKind::Scroll ||
            row.kind == ControlKind::Picture)
            SetWindowTextW(h, name.c_str());
        if (props)
            props->SetHwndPropStr(h, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME, name.c_str());
    }
    if (props) props->Release();
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
    if (c == &m_.form) {
        apply_form();
        return;
    }
    auto it = bound_.find(c);
    if (it == bound_.end()) {
        if (in_popup_menu(c)) return;  // the popup is built when shown
        throw std::logic_error("a control without a window: " + c->name());
    }
    const Bound& b = it->second;
    syncing_ = true;
    switch (b.kind) {
        case ControlKind::Frame:
            apply_form();
            break;
        case ControlKind::Label:
            set_text_if_changed(b.hwnd, static_cast<form::Label*>(c)->caption());
            break;
        case ControlKind::Text: {
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
        case ControlKind::Button:
            set_text_if_changed(b.hwnd, static_cast<form::Button*>(c)->caption());
            break;
        case ControlKind::Check:
            SendMessageW(b.hwnd, BM_SETCHECK,
                         static_cast<form::CheckBox*>(c)->value() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlKind::Option:
            SendMessageW(b.hwnd, BM_SETCHECK,
                         (*b.group)[b.index].value() ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlKind::Combo: {
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
        case ControlKind::Scroll: {
            const form::ScrollBar& sb = m_.hsc_befehle;
            SCROLLINFO si{
                sizeof si, SIF_RANGE | SIF_POS | SIF_PAGE, sb.min(), sb.max(), 0, sb.value(), 0};
            SetScrollInfo(b.hwnd, SB_CTL, &si, TRUE);
            break;
        }
        case ControlKind::List:
            sync_list();
            break;
        case ControlKind::Picture:
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
    HDC dc = GetDC(nullptr);
    const int dpi = std::max(1, GetDeviceCaps(dc, LOGPIXELSY));
    ReleaseDC(nullptr, dc);
    RECT wr, cr;
    GetWindowRect(hwnd_, &wr);
    GetClientRect(hwnd_, &cr);
    const int frame = (wr.bottom - wr.top) - (cr.bottom - cr.top);
    const int height = form_client_height(m_, dpi, frame) + frame;
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
        case ControlKind::Text:
            if (code == EN_CHANGE)
                static_cast<form::TextBox*>(c)->set_text(narrow(window_text(b.hwnd)));
            else if (code == EN_KILLFOCUS)
                static_cast<form::TextBox*>(c)->lose_focus();
            break;
        case ControlKind::Button:
            if (code == BN_CLICKED) static_cast<form::Button*>(c)->click();
            break;
        case ControlKind::Check:
            if (code == BN_CLICKED) {
                auto* cb = static_cast<form::CheckBox*>(c);
                cb->set_value(SendMessageW(b.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1);
                sync(c);
            }
            break;
        case ControlKind::Option:
            if (code == BN_CLICKED) {
                b.group->select(b.index);
                for (int i = 0; i < b.group->size(); ++i) sync(&(*b.group)[i]);
            }
            break;
        case ControlKind::Combo:
            if (code == CBN_SELCHANGE) {
                auto* cb = static_cast<form::ComboBox*>(c);
                cb->set_list_index(static_cast<int>(SendMessageW(b.hwnd, CB_GETCURSEL, 0, 0)));
                sync(c);
            }
            break;
        case ControlKind::Picture:
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
    RECT f{};
    GetWindowRect(frame_, &f);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&f), 2);
    const bool in_frame = child != frame_ && r.left >= f.left && r.top >= f.top &&
                          r.right <= f.right && r.bottom <= f.bottom;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, in_frame ? lighter(frame_color_, 6) : form_color_);
    return in_frame ? frame_brush_ : form_brush_;
}

void MainWindow::draw_item(const DRAWITEMSTRUCT& d) {
    auto it = by_id_.find(static_cast<int>(d.CtlID));
    if (it == by_id_.end()) return;
    const Bound& b = bound_.at(it->second);
    RECT r = d.rcItem;
    if (b.kind == ControlKind::Frame) {
        FillRect(d.hDC, &r, frame_brush_);
        DrawEdge(d.hDC, &r, EDGE_ETCHED, BF_RECT);
        return;
    }
    FillRect(d.hDC, &r, form_brush_);
    switch (b.picture) {
        case Picture::Logo:
            draw_logo(d.hDC, r, static_cast<form::Image*>(b.control)->picture());
            break;
        case Picture::ArrowLeft:
        case Picture::ArrowRight:
            draw_arrow(d.hDC, r, b.picture == Picture::ArrowLeft);
            break;
        case Picture::Emblem:
        case Picture::Badge:
            FillRect(d.hDC, &r, frame_brush_);
            draw_emblem(d.hDC, r);
            break;
        case Picture::Box:
            DrawEdge(d.hDC, &r, EDGE_SUNKEN, BF_RECT);
            break;
        default:
            DrawEdge(d.hDC, &r, EDGE_ETCHED, BF_TOP);  // the separators
            break;
    }
}

LRESULT MainWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case kFlush:
            flush();
            return 0;
        case WM_TIMER:
            if (wp == kTitleTimer) set_text_if_changed(hwnd_, m_.document.title());
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
        case WM_DRAWITEM:
            draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_CLOSE:
            if (!m_.document.may_discard()) return 0;
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
