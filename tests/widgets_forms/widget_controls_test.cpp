// The binding of Controls to real widgets: what the logic sets shows on the widgets, what the
// user does reaches the logic, and what the logic does itself raises only what a radio form
// expects (a text set raises its change event, a selection or tick set by the logic does not).

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "forms/widgets/filtered_edits.h"
#include "forms/widgets/widget_controls.h"

namespace kq904 {
namespace {

enum Ids { kField = 100, kDigits, kTick, kRadioA, kRadioB, kList, kCaption, kBar, kButton };

// Records every event as "<kind> <id>".
class Recorder : public FormEvents {
public:
    void onClicked(int id) override { events.push_back("click " + std::to_string(id)); }
    void onTextChanged(int id) override { events.push_back("text " + std::to_string(id)); }
    void onSelectionChanged(int id) override { events.push_back("select " + std::to_string(id)); }
    std::vector<std::string> events;
};

class WidgetControlsTest : public ::testing::Test {
protected:
    WidgetControlsTest()
    {
        field = controls.add(kField, new QLineEdit(&window));
        digits = controls.add(kDigits, new CDigitEdit(&window));
        tick = controls.add(kTick, new QCheckBox("Scan", &window));
        radioA = controls.add(kRadioA, new QRadioButton("Wide", &window));
        radioB = controls.add(kRadioB, new QRadioButton("Narrow", &window));
        list = controls.add(kList, new QComboBox(&window));
        caption = controls.add(kCaption, new QLabel("Version", &window));
        bar = controls.add(kBar, new QProgressBar(&window));
        button = controls.add(kButton, new QPushButton("V", &window));
        controls.setEvents(&recorder);
    }

    QDialog window;
    WidgetControls controls;
    Recorder recorder;
    QLineEdit* field;
    CDigitEdit* digits;
    QCheckBox* tick;
    QRadioButton* radioA;
    QRadioButton* radioB;
    QComboBox* list;
    QLabel* caption;
    QProgressBar* bar;
    QPushButton* button;
};

TEST_F(WidgetControlsTest, EverySetTextRaisesTheChangeEventOnce)
{
    controls.setText(kField, "145.000");
    controls.setText(kField, "145.000"); // same text: QLineEdit alone would stay silent
    controls.setText(kDigits, "?");
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"text 100", "text 100", "text 101"}));
    EXPECT_EQ(field->text(), "145.000");
    EXPECT_EQ(controls.text(kDigits), "?");
}

TEST_F(WidgetControlsTest, TypingRaisesTheChangeEventPerCharacterKept)
{
    digits->setFocus();
    QTest::keyClicks(digits, "1a2");
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"text 101", "text 101"}));
    EXPECT_EQ(controls.text(kDigits), "12");
}

// A form that cuts its field to seven characters from inside the change event, as the serial
// number field does.
class Truncating : public FormEvents {
public:
    explicit Truncating(Controls& c)
        : controls(c)
    { }
    void onTextChanged(int id) override
    {
        ++changes;
        const std::string text = controls.text(id);
        if (text.size() > 7)
            controls.setText(id, text.substr(0, 7));
    }
    Controls& controls;
    int changes = 0;
};

TEST_F(WidgetControlsTest, TheLogicMaySetTheTextFromInsideItsChangeEvent)
{
    Truncating logic(controls);
    controls.setEvents(&logic);
    digits->setFocus();
    QTest::keyClicks(digits, "12345678");
    EXPECT_EQ(digits->text(), "1234567");
    controls.setText(kDigits, "987654321");
    EXPECT_EQ(digits->text(), "9876543");
    EXPECT_EQ(logic.changes, 8 + 1 + 2);
}

TEST_F(WidgetControlsTest, ChecksSetByTheLogicRaiseNothingClicksDo)
{
    controls.setChecked(kTick, true);
    EXPECT_TRUE(tick->isChecked());
    EXPECT_TRUE(recorder.events.empty());

    QTest::mouseClick(tick, Qt::LeftButton);
    EXPECT_FALSE(controls.checked(kTick));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"click 102", "click 108"}));
}

TEST_F(WidgetControlsTest, RadioButtonsOfAGroupCanAllBeCleared)
{
    controls.setChecked(kRadioA, true);
    controls.setChecked(kRadioB, true);
    EXPECT_FALSE(controls.checked(kRadioA));
    controls.setChecked(kRadioB, false);
    EXPECT_FALSE(radioA->isChecked());
    EXPECT_FALSE(radioB->isChecked());
    // ... and stay a group for the user afterwards.
    QTest::mouseClick(radioA, Qt::LeftButton);
    QTest::mouseClick(radioB, Qt::LeftButton);
    EXPECT_FALSE(radioA->isChecked());
    EXPECT_TRUE(radioB->isChecked());

    // The same for buttons grouped by a QButtonGroup.
    QButtonGroup group;
    group.addButton(radioA);
    group.addButton(radioB);
    controls.setChecked(kRadioB, false);
    EXPECT_EQ(group.checkedButton(), nullptr);
    EXPECT_TRUE(group.exclusive());
}

TEST_F(WidgetControlsTest, ListsStartWithNothingSelectedAndOnlyTheUserRaisesSelection)
{
    controls.setItems(kList, {"COM1", "COM2", "COM3"});
    EXPECT_EQ(controls.selectedIndex(kList), -1);
    EXPECT_EQ(controls.items(kList), (std::vector<std::string>{"COM1", "COM2", "COM3"}));
    controls.setSelectedIndex(kList, 1);
    EXPECT_EQ(controls.text(kList), "COM2");
    controls.setSelectedIndex(kList, 3); // past the list: nothing selected
    EXPECT_EQ(controls.selectedIndex(kList), -1);
    EXPECT_EQ(controls.text(kList), "");
    controls.setText(kList, "COM3"); // a search for the entry's text
    EXPECT_EQ(controls.selectedIndex(kList), 2);
    EXPECT_TRUE(recorder.events.empty());

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(controls.selectedIndex(kList), 1);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"select 105"}));
}

TEST_F(WidgetControlsTest, EnabledAndShownAreTheControlsOwn)
{
    controls.setEnabled(kButton, false);
    controls.setShown(kCaption, false);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(controls.enabled(kButton));
    EXPECT_TRUE(caption->isHidden());
    EXPECT_FALSE(controls.shown(kCaption));
    // The window is not on screen, yet the other controls count as shown and enabled.
    EXPECT_TRUE(controls.shown(kField));
    window.setEnabled(false);
    EXPECT_TRUE(controls.enabled(kField));
    controls.setShown(kCaption, true);
    EXPECT_TRUE(controls.shown(kCaption));
}

TEST_F(WidgetControlsTest, ProgressPastTheEndShowsAFullBar)
{
    controls.setProgress(kBar, 40, 100);
    EXPECT_EQ(bar->value(), 40);
    controls.setProgress(kBar, 101, 100);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(bar->maximum(), 100);
}

TEST_F(WidgetControlsTest, UnknownIdsAreHarmless)
{
    controls.setText(999, "x");
    controls.setChecked(999, true);
    EXPECT_EQ(controls.text(999), "");
    EXPECT_FALSE(controls.checked(999));
    EXPECT_EQ(controls.selectedIndex(999), -1);
    EXPECT_EQ(controls.widget(999), nullptr);
}

} // namespace
} // namespace kq904
