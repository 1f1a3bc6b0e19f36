// Widgets for every control of the window. Model changes are applied once per event-loop pass;
// user edits go into the model's setters so that every handler runs exactly as from code.
#include "qt/main_window.hpp"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDragEnterEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include "qt/artwork.hpp"

namespace mavorin::qt {

namespace {

QString q(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}
std::string s(const QString& v) {
    return v.toUtf8().toStdString();
}

// A line edit that reports losing the focus.
class FieldEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    std::function<void()> on_focus_out;

  protected:
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        // Switching to another window or opening a menu leaves the focus where it was.
        if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason)
            return;
        if (on_focus_out) on_focus_out();
    }
};

// A picture that can be clicked.
class ClickLabel : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void()> on_click;

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        QLabel::mousePressEvent(e);
        if (e->button() == Qt::LeftButton && on_click) on_click();
    }
};

// Fixed geometry of every widget at 96 dpi: the window is a form, all panels share one area.
const std::map<std::string, QRect>& form_layout() {
    static const std::map<std::string, QRect> g = {
        // Title area.
        {"img_mavorin", {10, 6, 48, 48}},
        {"lbl_title", {66, 6, 200, 30}},
        {"lbl_titleversion", {68, 36, 300, 16}},
        {"Image1", {10, 58, 580, 2}},
        {"Image2", {10, 328, 580, 2}},
        {"frame_vantrel", {392, 4, 198, 50}},
        {"img_vantrellogo", {398, 11, 36, 36}},
        {"lbl_Programm", {440, 8, 146, 16}},
        {"lbl_Version", {440, 24, 146, 14}},
        {"lbl_maker1", {440, 38, 146, 14}},
        {"img_Orvik_Logo", {568, 8, 16, 16}},
        {"lbl_maker2", {0, 0, 0, 0}},
        {"lbl_maker3", {0, 0, 0, 0}},
        {"lbl_maker4", {0, 0, 0, 0}},
        // Command choice and prompt.
        {"lbl_befehl", {10, 70, 100, 20}},
        {"com_code", {110, 67, 300, 26}},
        {"com_code0", {110, 67, 300, 26}},
        {"lbl_info", {10, 98, 580, 34}},
        {"img_box", {10, 136, 580, 148}},
        // Panel 000.
        {"lbl_0_wait", {22, 146, 226, 20}},
        {"txt_0_wait", {250, 144, 70, 24}},
        {"lbl_0_ms", {326, 146, 30, 20}},
        {"lbl_0_loop", {22, 174, 226, 20}},
        {"txt_0_loop", {250, 172, 70, 24}},
        {"lbl_0_mal", {326, 174, 30, 20}},
        {"lbl_0_transparenz", {22, 202, 226, 20}},
        {"chk_0_transparenz", {250, 202, 20, 20}},
        {"lbl_0_vordergrund", {22, 228, 226, 20}},
        {"chk_0_vordergrund", {250, 228, 20, 20}},
        {"lbl_0_listbox", {22, 254, 226, 20}},
        {"chk_0_listbox", {250, 254, 20, 20}},
        {"lbl_0_startcode", {390, 146, 180, 20}},
        {"com_0_startcode", {390, 166, 110, 26}},
        {"lbl_0_abbruchcode", {390, 202, 180, 20}},
        {"com_0_abbruchcode", {390, 222, 110, 26}},
        // Panel 001.
        {"lbl_1_random", {22, 146, 300, 20}},
        {"txt_1_random1", {22, 170, 100, 24}},
        {"txt_1_random2", {132, 170, 100, 24}},
        {"lbl_1_ms", {240, 172, 30, 20}},
        // Panels 002 and 010.
        {"lbl_2_X", {22, 146, 96, 20}},
        {"txt_2_x", {120, 144, 90, 24}},
        {"txt_10_x", {120, 144, 90, 24}},
        {"lbl_2_Xpixel", {222, 146, 200, 20}},
        {"lbl_2_Y", {22, 174, 96, 20}},
        {"txt_2_y", {120, 172, 90, 24}},
        {"txt_10_y", {120, 172, 90, 24}},
        {"lbl_2_Ypixel", {222, 174, 200, 20}},
        {"lbl_10_abbruch", {22, 210, 540, 20}},
        {"txt_10_abbruch", {0, 0, 0, 0}},  // placed in the caption's gap
        // Panel 003.
        {"opt_3_click(0)", {22, 146, 300, 22}},
        {"opt_3_click(1)", {22, 170, 300, 22}},
        {"opt_3_click(2)", {22, 194, 300, 22}},
        // Panel 004.
        {"lbl_4_eingabebefehl", {22, 146, 136, 20}},
        {"com_4_eingabebefehl", {160, 143, 260, 26}},
        {"lbl_4_eingabetext", {22, 180, 400, 20}},
        {"txt_4_eingabetext", {22, 202, 556, 24}},
        // Panel 005.
        {"lbl_5_start", {22, 146, 226, 20}},
        {"txt_5_start", {250, 144, 110, 24}},
        {"lbl_5_hochzählen", {22, 174, 226, 20}},
        {"txt_5_hochzählen", {250, 172, 110, 24}},
        // Panel 006.
        {"lbl_6_pfad", {22, 146, 300, 20}},
        {"txt_6_pfad", {22, 168, 556, 24}},
        {"cmd_6_pfad", {22, 200, 190, 28}},
        // Panel 007.
        {"opt_7_pc(0)", {22, 144, 260, 22}},
        {"opt_7_pc(1)", {22, 168, 260, 22}},
        {"opt_7_pc(2)", {22, 192, 260, 22}},
        {"opt_7_pc(3)", {22, 216, 260, 22}},
        {"opt_7_pc(4)", {300, 144, 270, 22}},
        {"opt_7_pc(5)", {300, 168, 270, 22}},
        {"opt_7_pc(6)", {300, 192, 270, 22}},
        // Panel 008.
        {"lbl_8_laufwerk", {22, 146, 260, 20}},
        {"com_8_laufwerk", {290, 143, 160, 26}},
        {"lbl_8_move", {22, 178, 260, 20}},
        {"com_8_move", {290, 175, 160, 26}},
        // Panel 009.
        {"lbl_9_pfad", {22, 146, 300, 20}},
        {"txt_9_pfad", {22, 168, 556, 24}},
        {"cmd_9_pfad", {22, 200, 190, 28}},
        // Navigation.
        {"lbl_anz_befehle", {10, 294, 110, 20}},
        {"img_befehl_left", {120, 294, 22, 22}},
        {"txt_befehle", {146, 293, 64, 24}},
        {"img_befehl_right", {214, 294, 22, 22}},
        {"hsc_befehle", {256, 292, 226, 18}},
        {"lbl_hscaktuell", {256, 310, 100, 16}},
        {"lbl_hscmax", {382, 310, 100, 16}},
        // The list and the buttons beside it.
        {"lst_code", {10, 332, 472, 134}},
        {"cmd_start", {492, 290, 98, 32}},
        {"cmd_neu", {492, 332, 98, 28}},
        {"cmd_load", {492, 366, 70, 28}},
        {"cmd_load2", {564, 366, 26, 28}},
        {"cmd_save", {492, 400, 70, 28}},
        {"cmd_save2", {564, 400, 26, 28}},
    };
    return g;
}

QColor from_bgr(unsigned c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Windows key codes of the navigation keys the list reacts to.
int vk_of(int qt_key) {
    switch (qt_key) {
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Delete:
            return 46;
        default:
            return 0;
    }
}

int shift_state(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

}  // namespace

CommandListWidget::CommandListWidget(form::ListBox& model, QWidget* parent)
    : QListWidget(parent), model_(model) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragDropMode(QAbstractItemView::DropOnly);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    QFont f = font();
    f.setFamily(QStringLiteral("Monospace"));
    f.setStyleHint(QFont::TypeWriter);
    setFont(f);
}

void CommandListWidget::copy_selection_to_model() {
    for (int i = 0; i < count() && i < model_.list_count(); ++i)
        model_.set_selected(i, item(i)->isSelected());
    model_.set_list_index(currentRow());
}

void CommandListWidget::catch_up() {
    if (before_input) before_input();
}

void CommandListWidget::mousePressEvent(QMouseEvent* e) {
    catch_up();
    const int shift = shift_state(e->modifiers());
    if (e->button() == Qt::RightButton) {
        // The popup does not change the selection.
        copy_selection_to_model();
        if (model_.on_mouse_down)
            model_.on_mouse_down(2, shift, e->position().x(), e->position().y());
        return;
    }
    QListWidget::mousePressEvent(e);
    // Qt keeps a multiple selection until release when the pressed line was already selected;
    // a plain press must leave only that line selected before the handler counts the selection.
    if (e->button() == Qt::LeftButton &&
        !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
        const QModelIndex index = indexAt(e->position().toPoint());
        if (index.isValid())
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    }
    copy_selection_to_model();
    const int button = e->button() == Qt::LeftButton ? 1 : e->button() == Qt::MiddleButton ? 4 : 0;
    if (model_.on_mouse_down)
        model_.on_mouse_down(button, shift, e->position().x(), e->position().y());
}

void CommandListWidget::mouseReleaseEvent(QMouseEvent* e) {
    catch_up();
    QListWidget::mouseReleaseEvent(e);
    copy_selection_to_model();  // a drag over the lines extends the selection until release
}

void CommandListWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    catch_up();
    QListWidget::mouseDoubleClickEvent(e);
    copy_selection_to_model();
    if (e->button() == Qt::LeftButton && model_.on_dbl_click) model_.on_dbl_click();
}

void CommandListWidget::keyPressEvent(QKeyEvent* e) {
    catch_up();
    if (e->modifiers() & Qt::ControlModifier) {
        static const std::map<int, int> ctrl = {{Qt::Key_A, 1},  {Qt::Key_C, 3},  {Qt::Key_D, 4},
                                                {Qt::Key_N, 14}, {Qt::Key_V, 22}, {Qt::Key_X, 24}};
        auto it = ctrl.find(e->key());
        if (it != ctrl.end()) {
            copy_selection_to_model();
            if (model_.on_key_press) model_.on_key_press(it->second);
            return;
        }
    }
    QListWidget::keyPressEvent(e);
    copy_selection_to_model();
}

void CommandListWidget::keyReleaseEvent(QKeyEvent* e) {
    catch_up();
    QListWidget::keyReleaseEvent(e);
    if (e->isAutoRepeat()) return;
    const int vk = vk_of(e->key());
    if (vk && model_.on_key_up) {
        copy_selection_to_model();
        model_.on_key_up(vk, shift_state(e->modifiers()));
    }
}

void CommandListWidget::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CommandListWidget::dragMoveEvent(QDragMoveEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CommandListWidget::dropEvent(QDropEvent* e) {
    catch_up();
    std::vector<std::string> files;
    for (const QUrl& url : e->mimeData()->urls())
        files.push_back(s(url.isLocalFile() ? url.toLocalFile() : url.toString()));
    e->acceptProposedAction();
    if (model_.on_drop) model_.on_drop(files);
}

MainWindow::MainWindow(frm_mavorin& model) : m_(model) {
    setWindowTitle(QStringLiteral("Mavorin"));
    setWindowIcon(app_icon());
    setObjectName(QStringLiteral("frm_mavorin"));
    setAccessibleName(QStringLiteral("frm_mavorin"));
    setAutoFillBackground(true);
    bind_all();
    place_all();
    for (form::Control* c : m_.all_controls()) c->set_observer(this);
    sync_all();
}

MainWindow::~MainWindow() {
    for (form::Control* c : m_.all_controls()) c->set_observer(nullptr);
    m_.mnulistboxcode.on_popup = nullptr;
}

template <class W>
W* MainWindow::add(form::Control& c, W* w) {
    const QString name = q(c.name());
    w->setObjectName(name);
    w->setAccessibleName(name);
    widgets_[&c] = w;
    by_name_[c.name()] = w;
    return w;
}

QWidget* MainWindow::widget(const std::string& name) const {
    auto it = by_name_.find(name);
    return it == by_name_.end() ? nullptr : it->second;
}

void MainWindow::bind_all() {
    frm_mavorin& m = m_;
    // Frames and pictures first, so that they lie under the fields.
    auto* frame = add(m.frame_vantrel, new QFrame(this));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    syncers_[&m.frame_vantrel] = [this, frame] {
        QPalette p = frame->palette();
        p.setColor(QPalette::Window, from_bgr(m_.frame_vantrel.back_color()).lighter(106));
        frame->setPalette(p);
    };
    auto* box = add(m.img_box, new ClickLabel(this));
    box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    editor_frame_ = box;

    for (form::Image* img : {&m.img_mavorin, &m.Image1, &m.Image2, &m.img_vantrellogo,
                             &m.img_Orvik_Logo, &m.img_befehl_left, &m.img_befehl_right}) {
        auto* l = add(*img, new ClickLabel(this));
        l->on_click = [img] { img->click(); };
        if (img == &m.img_vantrellogo || img == &m.img_befehl_left || img == &m.img_befehl_right)
            l->setCursor(Qt::PointingHandCursor);
        syncers_[img] = [this, img, l] {
            const std::string& n = img->name();
            if (n == "img_mavorin")
                l->setPixmap(logo_picture(img->picture()));
            else if (n == "img_befehl_left" || n == "img_befehl_right")
                l->setPixmap(arrow_picture(n == "img_befehl_left"));
            else if (n == "img_vantrellogo")
                l->setPixmap(emblem_picture(36));
            else if (n == "img_Orvik_Logo")
                l->setPixmap(emblem_picture(16));
            else
                l->setPixmap(bar_picture(580, 2));
        };
    }

    for (form::Control* c : m.all_controls()) {
        auto* lbl = dynamic_cast<form::Label*>(c);
        if (!lbl) continue;
        auto* l = add(*lbl, new QLabel(this));
        l->setTextFormat(Qt::PlainText);
        syncers_[lbl] = [lbl, l] { l->setText(q(lbl->caption())); };
    }
    {
        auto* t = static_cast<QLabel*>(by_name_["lbl_title"]);
        QFont f = t->font();
        f.setPointSizeF(f.pointSizeF() * 1.8);
        f.setBold(true);
        t->setFont(f);
        auto* info = static_cast<QLabel*>(by_name_["lbl_info"]);
        QFont fi = info->font();
        fi.setBold(true);
        info->setFont(fi);
        // The longest prompts need a second line.
        info->setWordWrap(true);
        info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        auto* v = static_cast<QLabel*>(by_name_["lbl_hscmax"]);
        v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    for (form::TextBox* tb :
         {&m.txt_0_wait, &m.txt_0_loop, &m.txt_1_random1, &m.txt_1_random2, &m.txt_2_x, &m.txt_2_y,
          &m.txt_4_eingabetext, &m.txt_5_start, &m.txt_5_hochzählen, &m.txt_6_pfad, &m.txt_9_pfad,
          &m.txt_10_x, &m.txt_10_y, &m.txt_10_abbruch, &m.txt_befehle}) {
        auto* e = add(*tb, new FieldEdit(this));
        connect(e, &QLineEdit::textEdited, this, [this, tb](const QString& text) {
            if (!syncing_) tb->set_text(s(text));
        });
        e->on_focus_out = [tb] { tb->lose_focus(); };
        syncers_[tb] = [tb, e] {
            const QString text = q(tb->text());
            if (e->text() == text) return;
            const int cursor = e->cursorPosition();
            e->setText(text);
            e->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
        };
    }

    for (form::Button* b : {&m.cmd_6_pfad, &m.cmd_9_pfad, &m.cmd_start, &m.cmd_neu, &m.cmd_load,
                            &m.cmd_load2, &m.cmd_save, &m.cmd_save2}) {
        auto* pb = add(*b, new QPushButton(this));
        connect(pb, &QPushButton::clicked, this, [b] { b->click(); });
        syncers_[b] = [b, pb] { pb->setText(q(b->caption())); };
    }
    static_cast<QPushButton*>(by_name_["cmd_start"])->setDefault(true);

    for (form::CheckBox* cb : {&m.chk_0_transparenz, &m.chk_0_vordergrund, &m.chk_0_listbox}) {
        auto* c = add(*cb, new QCheckBox(this));
        connect(c, &QCheckBox::clicked, this, [this, cb](bool on) {
            cb->set_value(on ? 1 : 0);
            sync(cb);
        });
        syncers_[cb] = [cb, c] { c->setChecked(cb->value() != 0); };
    }

    for (form::OptionGroup* g : {&m.opt_3_click, &m.opt_7_pc}) {
        for (int i = 0; i < g->size(); ++i) {
            auto& btn = (*g)[i];
            auto* r = add(btn, new QRadioButton(q(btn.caption()), this));
            r->setAutoExclusive(false);
            connect(r, &QRadioButton::clicked, this, [this, g, i] {
                g->select(i);
                for (int k = 0; k < g->size(); ++k) sync(&(*g)[k]);
            });
            syncers_[&btn] = [&btn, r] { r->setChecked(btn.value()); };
        }
    }

    for (form::ComboBox* cb : {&m.com_code, &m.com_code0, &m.com_0_startcode, &m.com_0_abbruchcode,
                               &m.com_4_eingabebefehl, &m.com_8_laufwerk, &m.com_8_move}) {
        auto* c = add(*cb, new QComboBox(this));
        c->setMaxVisibleItems(16);
        connect(c, QOverload<int>::of(&QComboBox::activated), this, [this, cb](int i) {
            cb->set_list_index(i);
            sync(cb);
        });
        syncers_[cb] = [cb, c] {
            bool same = c->count() == cb->list_count();
            for (int i = 0; same && i < c->count(); ++i) same = s(c->itemText(i)) == cb->item(i);
            if (!same) {
                c->clear();
                for (const auto& item : cb->items()) c->addItem(q(item));
            }
            c->setCurrentIndex(cb->list_index());
        };
    }

    auto* sb = add(m.hsc_befehle, new QScrollBar(Qt::Horizontal, this));
    sb->setSingleStep(1);
    sb->setPageStep(1);  // a click beside the handle moves one command, as the arrows do
    connect(sb, &QScrollBar::valueChanged, this, [this](int v) {
        if (!syncing_) m_.hsc_befehle.set_value(v);
    });
    syncers_[&m.hsc_befehle] = [this, sb] {
        sb->setRange(m_.hsc_befehle.min(), m_.hsc_befehle.max());
        sb->setValue(m_.hsc_befehle.value());
    };

    auto* list = add(m.lst_code, new CommandListWidget(m.lst_code, this));
    list->before_input = [this] { flush(); };
    syncers_[&m.lst_code] = [this, list] {
        const form::ListBox& lb = m_.lst_code;
        const auto& items = lb.items();
        while (list->count() > lb.list_count()) delete list->takeItem(list->count() - 1);
        for (int i = 0; i < lb.list_count(); ++i) {
            const QString text = q(items[i]);
            if (i < list->count()) {
                if (list->item(i)->text() != text) list->item(i)->setText(text);
            } else {
                list->addItem(text);
            }
        }
        if (lb.list_index() >= 0)
            list->setCurrentRow(lb.list_index(), QItemSelectionModel::NoUpdate);
        for (int i = 0; i < list->count(); ++i) list->item(i)->setSelected(lb.selected(i));
        if (lb.list_index() >= 0) list->scrollToItem(list->item(lb.list_index()));
        QRect g = list->geometry();
        if (g.height() != lb.height()) {
            g.setHeight(lb.height());
            list->setGeometry(g);
        }
    };

    menu_ = new QMenu(this);
    menu_->setObjectName(QStringLiteral("mnulistboxcode"));
    menu_->setAccessibleName(QStringLiteral("mnulistboxcode"));
    const std::pair<form::MenuItem*, const char*> items[] = {
        {&m.mnunewcommand, "Ctrl+N"}, {nullptr, nullptr},      {&m.mnucut, "Ctrl+X"},
        {&m.mnucopy, "Ctrl+C"},       {&m.mnupaste, "Ctrl+V"}, {&m.mnudelete, "Del"},
        {nullptr, nullptr},           {&m.mnuall, "Ctrl+A"},   {&m.mnudisplay, "Ctrl+D"}};
    for (const auto& [item, keys] : items) {
        if (!item) {
            menu_->addSeparator();
            continue;
        }
        QAction* a = menu_->addAction(q(item->caption()));
        a->setObjectName(q(item->name()));
        a->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        a->setShortcutContext(Qt::WidgetShortcut);  // shown only: the list handles the keys
        connect(a, &QAction::triggered, this, [item] { item->click(); });
        syncers_[item] = [item, a] {
            a->setText(q(item->caption()));
            a->setEnabled(item->enabled());
            a->setVisible(item->visible());
        };
    }
    m.mnulistboxcode.on_popup = [this] {
        flush();
        menu_->exec(QCursor::pos());
    };
    syncers_[&m.mnulistboxcode] = [] {};

    syncers_[&m.form] = [this] { apply_form(); };
}

void MainWindow::place_all() {
    for (const auto& [name, rect] : form_layout()) {
        auto it = by_name_.find(name);
        if (it != by_name_.end()) it->second->setGeometry(rect);
    }
    // The abort field sits in the blank gap of its label's caption.
    auto* label = static_cast<QLabel*>(by_name_["lbl_10_abbruch"]);
    const QFontMetrics fm(label->font());
    const int gap_start = fm.horizontalAdvance(QStringLiteral("Abbruchbedingung nach: "));
    const int gap = fm.horizontalAdvance(QString(36, QLatin1Char(' ')));
    const QRect lr = label->geometry();
    by_name_["txt_10_abbruch"]->setGeometry(lr.x() + gap_start, lr.y() - 2, std::max(40, gap), 24);
    editor_frame_->lower();
    by_name_["frame_vantrel"]->lower();
    setFixedWidth(600);
}

void MainWindow::apply_form() {
    QPalette p = palette();
    p.setColor(QPalette::Window, from_bgr(m_.form.back_color()));
    setPalette(p);
    // The form's outer height in twips; without a window manager the frame adds nothing.
    const double twips = 1440.0 / std::max(1.0, static_cast<double>(logicalDpiY()));
    const int outer = static_cast<int>(m_.form.height_twips() / twips + 0.5);
    frame_height_ = std::max(0, frameGeometry().height() - geometry().height());
    const int client = std::max(200, outer - frame_height_);
    // The list may be taller than the form's design height allows: keep it fully visible.
    QWidget* list = by_name_["lst_code"];
    // The model's height, not the widget's: the list may be synced after the form.
    const int needed = list->geometry().top() + m_.lst_code.height() + 10;
    setFixedHeight(std::max(client, needed));
}

void MainWindow::control_changed(form::Control& c) {
    dirty_.insert(&c);
    schedule_flush();
}

void MainWindow::schedule_flush() {
    if (flush_pending_) return;
    flush_pending_ = true;
    QTimer::singleShot(0, this, [this] { flush(); });
}

void MainWindow::flush() {
    flush_pending_ = false;
    auto dirty = std::move(dirty_);
    dirty_.clear();
    for (form::Control* c : dirty) sync(c);
}

void MainWindow::sync(form::Control* c) {
    syncing_ = true;
    auto w = widgets_.find(c);
    if (w != widgets_.end()) {
        QSignalBlocker block(w->second);
        w->second->setEnabled(c->enabled());
        w->second->setVisible(c->visible());
        if (auto f = syncers_.find(c); f != syncers_.end()) f->second();
    } else if (auto f = syncers_.find(c); f != syncers_.end()) {
        f->second();
    }
    syncing_ = false;
}

void MainWindow::sync_all() {
    dirty_.clear();
    for (form::Control* c : m_.all_controls()) sync(c);
}

void MainWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (frameGeometry().height() - geometry().height() != frame_height_) apply_form();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (on_close) on_close();
    e->accept();
}

}  // namespace mavorin::qt
