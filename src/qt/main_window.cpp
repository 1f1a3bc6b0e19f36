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
#include <stdexcept>

#include "app/form_table.hpp"
#include "qt/accessibility.hpp"
#include "qt/artwork.hpp"
#include "qt/qt_text.hpp"

namespace mavorin::qt {

namespace {

// Hands every event of a widget to a callback before the widget sees it.
class EventHook : public QObject {
  public:
    EventHook(QWidget* w, std::function<void(QEvent*)> f) : QObject(w), f_(std::move(f)) {
        w->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        f_(e);
        return false;
    }

  private:
    std::function<void(QEvent*)> f_;
};

QRect pixels(FormRect twips) {
    const FormRect r = to_pixels(twips);
    return {r.x, r.y, r.width, r.height};
}

QColor from_bgr(unsigned c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// Windows key codes of the navigation keys the list reacts to.
int vk_of(int qt_key) {
    static const std::map<int, int> vk = {
        {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},
        {Qt::Key_Home, 36},   {Qt::Key_Left, 37},     {Qt::Key_Up, 38},
        {Qt::Key_Right, 39},  {Qt::Key_Down, 40},     {Qt::Key_Delete, 46}};
    auto it = vk.find(qt_key);
    return it == vk.end() ? 0 : it->second;
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
    install_accessibility();
    setWindowTitle(QStringLiteral("Mavorin"));
    setWindowIcon(app_icon());
    setObjectName(QStringLiteral("frm_mavorin"));
    setAutoFillBackground(true);
    bind_all();
    prepare_accessibility(m_, [this](form::Control& c) { return widgets_.at(&c); });
    for (QWidget* w : lowered_) w->lower();
    for (form::Control* c : m_.all_controls()) c->set_observer(this);
    sync_all();
    watch_document();
    replace_program_browsing();
}

MainWindow::~MainWindow() {
    for (form::Control* c : m_.all_controls()) c->set_observer(nullptr);
    m_.mnulistboxcode.on_popup = nullptr;
}

template <class W>
W* MainWindow::add(form::Control& c, W* w) {
    const QString name = q(c.name());
    w->setObjectName(name);
    widgets_[&c] = w;
    if (!by_name_.emplace(c.name(), w).second)
        throw std::logic_error("two widgets for one control: " + c.name());
    return w;
}

QWidget* MainWindow::widget(const std::string& name) const {
    return by_name_.at(name);
}

void MainWindow::bind_all() {
    for (const FormRow& row : form_table()) {
        form::Control& c = row.control(m_);
        QWidget* w = bind(row, c);
        w->setGeometry(pixels(row.twips));
        QFont f = w->font();
        switch (row.font) {
            case FontRole::Normal:
                break;
            case FontRole::Title:
                f.setPointSizeF(f.pointSizeF() * 1.8);
                f.setBold(true);
                break;
            case FontRole::Prompt:
                f.setBold(true);
                break;
            case FontRole::Mono:
                f.setFamily(QStringLiteral("Monospace"));
                f.setStyleHint(QFont::TypeWriter);
                break;
        }
        w->setFont(f);
    }
    bind_menu();
    syncers_[&m_.form] = [this] { apply_form(); };
    static_cast<QPushButton*>(widgets_.at(&m_.cmd_start))->setDefault(true);

    const CaptionGap& gap = caption_gap();
    QWidget* label = widgets_.at(&gap.label(m_));
    const QFontMetrics fm(label->font());
    const QRect lr = label->geometry();
    const FormRect r =
        caption_gap_field({lr.x(), lr.y(), lr.width(), lr.height()},
                          fm.horizontalAdvance(QString::fromUtf8(gap.lead)),
                          fm.horizontalAdvance(QString(gap.blanks, QLatin1Char(' '))));
    widgets_.at(&gap.field(m_))->setGeometry(r.x, r.y, r.width, r.height);
    setFixedWidth(to_pixels({0, 0, kFormWidthTwips, 0}).width);
}

QWidget* MainWindow::bind(const FormRow& row, form::Control& c) {
    switch (row.kind) {
        case ControlKind::Label: {
            auto& lbl = static_cast<form::Label&>(c);
            auto* l = add(lbl, new QLabel(this));
            l->setTextFormat(Qt::PlainText);
            if (row.font == FontRole::Prompt) {
                l->setWordWrap(true);  // the longest prompts need a second line
                l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            }
            if (row.align == Align::Right) l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            syncers_[&lbl] = [&lbl, l] { l->setText(q(lbl.caption())); };
            return l;
        }
        case ControlKind::Text: {
            auto& tb = static_cast<form::TextBox&>(c);
            auto* e = add(tb, new QLineEdit(this));
            connect(e, &QLineEdit::textEdited, this, [this, &tb](const QString& text) {
                if (!syncing_) tb.set_text(s(text));
            });
            new EventHook(e, [&tb](QEvent* ev) {
                if (ev->type() != QEvent::FocusOut) return;
                // Switching to another window or opening a menu leaves the focus where it was.
                const auto reason = static_cast<QFocusEvent*>(ev)->reason();
                if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                    tb.lose_focus();
            });
            syncers_[&tb] = [&tb, e] {
                const QString text = q(tb.text());
                if (e->text() == text) return;
                const int cursor = e->cursorPosition();
                e->setText(text);
                e->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
            };
            return e;
        }
        case ControlKind::Button: {
            auto& b = static_cast<form::Button&>(c);
            auto* pb = add(b, new QPushButton(this));
            connect(pb, &QPushButton::clicked, this, [&b] { b.click(); });
            syncers_[&b] = [this, &b, pb] {
                pb->setText(q(b.caption()));
                if (&b == &m_.cmd_start) guard_start_button(pb);
            };
            return pb;
        }
        case ControlKind::Check: {
            auto& cb = static_cast<form::CheckBox&>(c);
            auto* w = add(cb, new QCheckBox(this));
            connect(w, &QCheckBox::clicked, this, [this, &cb](bool on) {
                cb.set_value(on ? 1 : 0);
                sync(&cb);
            });
            syncers_[&cb] = [&cb, w] { w->setChecked(cb.value() != 0); };
            return w;
        }
        case ControlKind::Option: {
            form::OptionGroup* g = row.group(m_);
            auto& btn = (*g)[row.index];
            auto* r = add(btn, new QRadioButton(q(btn.caption()), this));
            r->setAutoExclusive(false);
            connect(r, &QRadioButton::clicked, this, [this, g, i = row.index] {
                g->select(i);
                for (int k = 0; k < g->size(); ++k) sync(&(*g)[k]);
            });
            syncers_[&btn] = [&btn, r] { r->setChecked(btn.value()); };
            return r;
        }
        case ControlKind::Combo: {
            auto& cb = static_cast<form::ComboBox&>(c);
            auto* w = add(cb, new QComboBox(this));
            w->setMaxVisibleItems(16);
            connect(w, QOverload<int>::of(&QComboBox::activated), this, [this, &cb](int i) {
                cb.set_list_index(i);
                sync(&cb);
            });
            syncers_[&cb] = [&cb, w] {
                bool same = w->count() == cb.list_count();
                for (int i = 0; same && i < w->count(); ++i) same = s(w->itemText(i)) == cb.item(i);
                if (!same) {
                    w->clear();
                    for (const auto& item : cb.items()) w->addItem(q(item));
                }
                w->setCurrentIndex(cb.list_index());
            };
            return w;
        }
        case ControlKind::Scroll: {
            auto& sc = static_cast<form::ScrollBar&>(c);
            auto* sb = add(sc, new QScrollBar(Qt::Horizontal, this));
            sb->setSingleStep(1);
            sb->setPageStep(1);  // a click beside the handle moves one command, as the arrows do
            connect(sb, &QScrollBar::valueChanged, this, [this, &sc](int v) {
                if (!syncing_) sc.set_value(v);
            });
            syncers_[&sc] = [&sc, sb] {
                sb->setRange(sc.min(), sc.max());
                sb->setValue(sc.value());
            };
            return sb;
        }
        case ControlKind::List:
            return bind_list(static_cast<form::ListBox&>(c));
        case ControlKind::Picture:
            return bind_picture(row, static_cast<form::Image&>(c));
        case ControlKind::Frame: {
            auto& fr = static_cast<form::Form&>(c);
            auto* frame = add(fr, new QFrame(this));
            frame->setFrameShape(QFrame::StyledPanel);
            frame->setAutoFillBackground(true);
            lowered_.push_back(frame);
            syncers_[&fr] = [&fr, frame] {
                QPalette p = frame->palette();
                p.setColor(QPalette::Window, from_bgr(fr.back_color()).lighter(106));
                frame->setPalette(p);
            };
            return frame;
        }
    }
    throw std::logic_error("a control kind without a widget: " + c.name());
}

QWidget* MainWindow::bind_picture(const FormRow& row, form::Image& img) {
    auto* l = add(img, new QLabel(this));
    new EventHook(l, [&img](QEvent* ev) {
        if (ev->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(ev)->button() == Qt::LeftButton)
            img.click();
    });
    const QSize size = pixels(row.twips).size();
    switch (row.picture) {
        case Picture::Box:
            l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            lowered_.push_back(l);  // under the fields of every panel
            return l;
        case Picture::Emblem:
        case Picture::ArrowLeft:
        case Picture::ArrowRight:
            l->setCursor(Qt::PointingHandCursor);
            break;
        default:
            break;
    }
    syncers_[&img] = [&img, l, size, picture = row.picture] {
        switch (picture) {
            case Picture::Logo:
                l->setPixmap(logo_picture(img.picture()));
                break;
            case Picture::ArrowLeft:
            case Picture::ArrowRight:
                l->setPixmap(arrow_picture(picture == Picture::ArrowLeft));
                break;
            case Picture::Emblem:
            case Picture::Badge:
                l->setPixmap(emblem_picture(size.width()));
                break;
            default:
                l->setPixmap(bar_picture(size.width(), size.height()));
                break;
        }
    };
    return l;
}

QWidget* MainWindow::bind_list(form::ListBox& lb) {
    auto* list = add(lb, new CommandListWidget(lb, this));
    list->before_input = [this] { flush(); };
    syncers_[&lb] = [&lb, list] {
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
    return list;
}

void MainWindow::bind_menu() {
    menu_ = new QMenu(this);
    menu_->setObjectName(q(m_.mnulistboxcode.name()));
    for (const MenuRow& row : popup_menu_table()) {
        if (!row.item) {
            menu_->addSeparator();
            continue;
        }
        form::MenuItem* item = row.item(m_);
        QAction* a = menu_->addAction(q(item->caption()));
        a->setObjectName(q(item->name()));
        a->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        a->setShortcutContext(Qt::WidgetShortcut);  // shown only: the list handles the keys
        connect(a, &QAction::triggered, this, [item] { item->click(); });
        syncers_[item] = [item, a] {
            a->setText(q(item->caption()));
            a->setEnabled(item->enabled());
            a->setVisible(item->visible());
        };
    }
    m_.mnulistboxcode.on_popup = [this] {
        flush();
        auto* list = static_cast<CommandListWidget*>(widgets_.at(&m_.lst_code));
        const QPoint at = list->popup_at.value_or(QCursor::pos());
        list->popup_at.reset();
        menu_->exec(at);
    };
    syncers_[&m_.mnulistboxcode] = [] {};
}

void MainWindow::apply_form() {
    QPalette p = palette();
    p.setColor(QPalette::Window, from_bgr(m_.form.back_color()));
    setPalette(p);
    // Without a window manager the frame adds nothing.
    frame_height_ = std::max(0, frameGeometry().height() - geometry().height());
    setFixedHeight(form_client_height(m_, logicalDpiY(), frame_height_));
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
    refresh_title();
    if (!dirty.empty())
        update_accessibility(m_, [this](form::Control& c) { return widgets_.at(&c); });
}

void MainWindow::sync(form::Control* c) {
    syncing_ = true;
    auto f = syncers_.find(c);
    auto w = widgets_.find(c);
    if (w != widgets_.end()) {
        QSignalBlocker block(w->second);
        w->second->setEnabled(c->enabled());
        w->second->setVisible(c->visible());
        if (f != syncers_.end()) f->second();
    } else if (f != syncers_.end()) {
        f->second();
    } else {
        syncing_ = false;
        throw std::logic_error("a control without a widget: " + c->name());
    }
    syncing_ = false;
}

void MainWindow::sync_all() {
    dirty_.clear();
    for (form::Control* c : m_.all_controls()) sync(c);
    update_accessibility(m_, [this](form::Control& c) { return widgets_.at(&c); });
}

void MainWindow::moveEvent(QMoveEvent* e) {
    QWidget::moveEvent(e);
    if (frameGeometry().height() - geometry().height() != frame_height_) apply_form();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (!m_.document.may_discard()) {
        e->ignore();
        return;
    }
    if (on_close) on_close();
    e->accept();
}

}  // namespace mavorin::qt
