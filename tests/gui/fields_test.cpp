// Fields, option buttons, the scroll bar and the count box: user edits reach the model once,
// model changes reach the widgets and are never sent back.
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

#include "view_fixture.hpp"

namespace mavorin {
namespace {

using FieldsTest = ViewTest;

// Counts a control's handler while keeping the original one.
template <class H>
std::shared_ptr<int> count_calls(H& handler) {
    auto n = std::make_shared<int>(0);
    handler = [n, inner = handler](auto&&... a) {
        ++*n;
        if (inner) inner(a...);
    };
    return n;
}

TEST_F(FieldsTest, ModelChangesShowWithoutRunningHandlersAgain) {
    auto wait_changes(count_calls(model->txt_0_wait.on_change));
    auto scroll_changes(count_calls(model->hsc_befehle.on_change));
    auto code_clicks(count_calls(model->com_code.on_click));
    auto list_clicks(count_calls(model->chk_0_listbox.on_click));

    model->txt_0_wait.set_text("700");
    model->hsc_befehle.set_value(2);
    model->com_code.set_list_index(4);
    model->chk_0_listbox.set_value(0);
    settle();

    EXPECT_EQ(*wait_changes, 1);
    EXPECT_EQ(*scroll_changes, 1);
    EXPECT_EQ(*code_clicks, 1);
    EXPECT_EQ(*list_clicks, 1);
    EXPECT_EQ(get<QLineEdit>("txt_0_wait")->text(), "700");
    EXPECT_EQ(get<QScrollBar>("hsc_befehle")->value(), 2);
    EXPECT_FALSE(get<QCheckBox>("chk_0_listbox")->isChecked());
    EXPECT_FALSE(list()->isVisible());
}

TEST_F(FieldsTest, ScrollBarAndArrowsMoveAndResizeTheMacro) {
    auto* bar = get<QScrollBar>("hsc_befehle");
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    settle();
    EXPECT_EQ(model->befehl_aktuell, 1);
    EXPECT_EQ(get<QLabel>("lbl_hscaktuell")->text(), "1");
    EXPECT_TRUE(get<QLineEdit>("txt_1_random1")->isVisible());
    EXPECT_EQ(widget_selection(), std::vector<int>{1});

    QTest::mouseClick(view->widget("img_befehl_right"), Qt::LeftButton);
    settle();
    EXPECT_EQ(get<QLineEdit>("txt_befehle")->text(), "4");
    EXPECT_EQ(get<QLabel>("lbl_hscmax")->text(), "4");
    EXPECT_EQ(bar->maximum(), 4);
    EXPECT_EQ(list()->count(), 5);

    QTest::mouseClick(view->widget("img_befehl_left"), Qt::LeftButton);
    QTest::mouseClick(view->widget("img_befehl_left"), Qt::LeftButton);
    settle();
    EXPECT_EQ(model->befehl_anzahl, 2);
    EXPECT_EQ(list()->count(), 3);
}

TEST_F(FieldsTest, OptionButtonsWriteTheRecordAndStayExclusive) {
    click_line(1);
    auto* code = get<QComboBox>("com_code");
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Down);
    QTest::keyClick(code, Qt::Key_Down);  // "Mauszeiger Tastendruck"
    settle();
    ASSERT_EQ(model->befehl[1], "code:|003|mouseclick:|left|");

    auto* right = get<QRadioButton>("opt_3_click(2)");
    auto* left = get<QRadioButton>("opt_3_click(0)");
    ASSERT_TRUE(right->isVisible());
    const QPoint indicator(8, right->height() / 2);
    QTest::mouseClick(right, Qt::LeftButton, {}, indicator);
    settle();
    EXPECT_EQ(model->befehl[1], "code:|003|mouseclick:|right|");
    EXPECT_TRUE(right->isChecked());
    EXPECT_FALSE(left->isChecked());
    // Clicking the chosen button again does not clear it.
    QTest::mouseClick(right, Qt::LeftButton, {}, indicator);
    settle();
    EXPECT_TRUE(right->isChecked());
    EXPECT_EQ(model->opt_3_click.selected(), 2);
}

TEST_F(FieldsTest, CorrectedInputShowsInTheField) {
    auto* wait = get<QLineEdit>("txt_0_wait");
    wait->selectAll();
    QTest::keyClicks(wait, "99999");
    settle();
    EXPECT_EQ(wait->text(), "60000");
    EXPECT_EQ(model->befehl[0], "code:|000|wait:|60000|loop:|1|start:|no|stop:|ESC|");
    EXPECT_EQ(list()->item(0)->text().toStdString(),
              "00 - code: 000 wait: 60000 loop: 1 start: no stop: ESC ");
}

TEST_F(FieldsTest, LeavingTheCountBoxCorrectsItButSwitchingWindowsDoesNot) {
    auto* count = get<QLineEdit>("txt_befehle");
    count->selectAll();
    QTest::keyClicks(count, "0");
    settle();
    ASSERT_EQ(count->text(), "0");

    QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(count, &away);
    settle();
    EXPECT_EQ(count->text(), "0");

    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(count, &tab);
    settle();
    EXPECT_EQ(count->text(), "1");
    EXPECT_EQ(model->txt_befehle.text(), "1");
}

TEST_F(FieldsTest, HotKeyComboWritesTheSettingsRecord) {
    auto* start = get<QComboBox>("com_0_startcode");
    ASSERT_TRUE(start->isVisible());
    const int f5 = start->findText(QStringLiteral("F5"));
    ASSERT_GE(f5, 0);
    start->setFocus();
    while (start->currentIndex() < f5) QTest::keyClick(start, Qt::Key_Down);
    settle();
    EXPECT_EQ(model->startname, "F5");
    EXPECT_EQ(model->befehl[0], "code:|000|wait:|500|loop:|1|start:|F5|stop:|ESC|");
}

}  // namespace
}  // namespace mavorin
