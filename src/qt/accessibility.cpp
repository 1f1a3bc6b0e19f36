// Spoken names come from the core, so both views say the same words; this file only applies them.
#include "qt/accessibility.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QSet>

#include "app/form_table.hpp"
#include "app/frm_mavorin.hpp"
#include "qt/main_window.hpp"
#include "qt/qt_text.hpp"

namespace mavorin::qt {

namespace {

constexpr const char* kDecorative = "mavorin_decorative";

// The window as a screen reader sees it: every child widget but the decorative ones.
class FormAccessible : public QAccessibleWidget {
  public:
    explicit FormAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}
    int childCount() const override { return static_cast<int>(kids().size()); }
    QAccessibleInterface* child(int i) const override {
        const QWidgetList k = kids();
        return i >= 0 && i < k.size() ? QAccessible::queryAccessibleInterface(k[i]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        return c ? static_cast<int>(kids().indexOf(qobject_cast<QWidget*>(c->object()))) : -1;
    }

  private:
    QWidgetList kids() const {
        QWidgetList out;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && !qobject_cast<QMenu*>(w) &&
                !w->property(kDecorative).toBool())
                out.append(w);
        }
        return out;
    }
};

QAccessibleInterface* form_factory(const QString& key, QObject* o) {
    if (key == QLatin1String(MainWindow::staticMetaObject.className()))
        return new FormAccessible(static_cast<QWidget*>(o));
    return nullptr;
}

// Space and Return click a linked picture; the keys that open a context menu open the list's.
class KeyHook : public QObject {
  public:
    KeyHook(QWidget* w, std::function<bool(QKeyEvent*)> f) : QObject(w), f_(std::move(f)) {
        w->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        return e->type() == QEvent::KeyPress && f_(static_cast<QKeyEvent*>(e));
    }

  private:
    std::function<bool(QKeyEvent*)> f_;
};

// The style shows no focus on a scroll bar or a picture, and on buttons, boxes and choices only
// after a key moved it there: a ring around the focused control always shows where keys go.
class FocusRing : public QWidget {
  public:
    explicit FocusRing(QWidget* window) : QWidget(window) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setProperty(kDecorative, true);
        hide();
        connect(qApp, &QApplication::focusChanged, this,
                [this](QWidget*, QWidget* now) { follow(now); });
    }
    void ring(QWidget* w) { ringed_.insert(w); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.drawRect(rect().adjusted(1, 1, -1, -1));
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Move || e->type() == QEvent::Resize || e->type() == QEvent::Hide ||
            e->type() == QEvent::Show)
            follow(target_);
        return false;
    }

  private:
    void follow(QWidget* w) {
        if (target_ && target_ != w) target_->removeEventFilter(this);
        target_ = ringed_.contains(w) ? w : nullptr;
        if (!target_ || !target_->isVisible()) {
            hide();
            return;
        }
        target_->installEventFilter(this);
        setGeometry(target_->geometry().adjusted(-3, -3, 3, 3));
        raise();
        show();
    }
    QSet<QWidget*> ringed_;
    QPointer<QWidget> target_;
};

}  // namespace

void install_accessibility() {
    static const bool once = (QAccessible::installFactory(&form_factory), true);
    (void)once;
}

void prepare_accessibility(frm_mavorin& m, const WidgetOf& widget_of) {
    auto* ring = new FocusRing(widget_of(m.lst_code)->parentWidget());
    for (const FormRow& row : form_table()) {
        QWidget* w = widget_of(row.control(m));
        if (row.decorative()) w->setProperty(kDecorative, true);
        // Arrows, PgUp/PgDn, Home and End move the current command, as the mouse does.
        if (row.kind == ControlKind::Scroll) w->setFocusPolicy(Qt::StrongFocus);
        if (row.takes_focus()) ring->ring(w);
        if (row.kind == ControlKind::Picture && row.spoken) {
            auto& img = static_cast<form::Image&>(row.control(m));
            w->setFocusPolicy(Qt::TabFocus);
            ring->ring(w);
            new KeyHook(w, [&img](QKeyEvent* e) {
                if (e->key() != Qt::Key_Space && e->key() != Qt::Key_Return) return false;
                img.click();
                return true;
            });
        }
    }
    auto* list = static_cast<CommandListWidget*>(widget_of(m.lst_code));
    new KeyHook(list, [list, &lb = m.lst_code](QKeyEvent* e) {
        const bool menu_key = e->key() == Qt::Key_Menu ||
                              (e->key() == Qt::Key_F10 && e->modifiers() == Qt::ShiftModifier);
        if (!menu_key || !lb.on_mouse_down) return false;
        if (list->before_input) list->before_input();
        list->copy_selection_to_model();
        // The menu opens at the current line, not wherever the pointer rests.
        const QPoint at =
            list->currentItem() ? list->visualItemRect(list->currentItem()).center() : QPoint(0, 0);
        list->popup_at = list->viewport()->mapToGlobal(at);
        lb.on_mouse_down(2, 0, at.x(), at.y());
        list->popup_at.reset();
        return true;
    });
}

void update_accessibility(frm_mavorin& m, const WidgetOf& widget_of) {
    for (const FormRow& row : form_table()) {
        QWidget* w = widget_of(row.control(m));
        // Two fields share a label (the command choice, the X/Y fields): it names the one shown.
        if (row.label && row.control(m).visible())
            if (auto* label = qobject_cast<QLabel*>(widget_of(row.label(m)))) label->setBuddy(w);
        const QString name = q(spoken_name(row, m));
        if (!name.isEmpty() && w->accessibleName() != name) w->setAccessibleName(name);
        const QString about = q(spoken_description(row, m));
        if (w->accessibleDescription() != about) w->setAccessibleDescription(about);
        const QString tip = q(tooltip(row, m));
        if (w->toolTip() != tip) w->setToolTip(tip);
    }
}

}  // namespace mavorin::qt
