// The filtered fields as a user meets them: typed characters outside the kind are dropped
// without a trace, pasted text is cleaned the same way, text set by the program is kept.

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "forms/widgets/filtered_edits.h"

namespace kq904 {
namespace {

enum class Kind { Decimal, Digit, Hex };

std::unique_ptr<FilteredEdit> makeEdit(Kind kind)
{
    switch (kind) {
    case Kind::Decimal:
        return std::make_unique<CDecimalEdit>();
    case Kind::Digit:
        return std::make_unique<CDigitEdit>();
    case Kind::Hex:
        return std::make_unique<CHexEdit>();
    }
    return nullptr;
}

struct TypingCase {
    Kind kind;
    const char* typed;
    const char* shown;
};

class Typing : public ::testing::TestWithParam<TypingCase> { };

TEST_P(Typing, DropsCharactersOutsideTheKind)
{
    const auto& c = GetParam();
    auto edit = makeEdit(c.kind);
    QTest::keyClicks(edit.get(), QString::fromLatin1(c.typed));
    EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Kinds, Typing,
    ::testing::Values(TypingCase{Kind::Digit, "12ab3-4 5", "12345"},
        TypingCase{Kind::Digit, "x-", ""}, TypingCase{Kind::Digit, "4.5", "45"},
        TypingCase{Kind::Decimal, "145.250 MHz", "145.250"},
        // The kind judges each character alone: where and how often '.' stands is the form's
        // business.
        TypingCase{Kind::Decimal, "1..2.", "1..2."}, TypingCase{Kind::Decimal, "-1e5", "15"},
        TypingCase{Kind::Decimal, "151,625", "151.625"}, // a comma locale's keypad
        TypingCase{Kind::Hex, "0x1fG9Ab", "01f9Ab"}, TypingCase{Kind::Hex, "f", "f"},
        TypingCase{Kind::Hex, "ghijz", ""}));

TEST(FilteredEdit, ADroppedCharacterRaisesNoChange)
{
    CDigitEdit edit;
    edit.setText("12");
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    QTest::keyClicks(&edit, "x- ");
    EXPECT_EQ(changes.count(), 0);
    QTest::keyClick(&edit, Qt::Key_7);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(edit.text(), "127");
}

TEST(FilteredEdit, EditingKeysStillWork)
{
    CDigitEdit edit;
    QTest::keyClicks(&edit, "1234");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    EXPECT_EQ(edit.text(), "23");
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier); // select all, not the letter 'a'
    QTest::keyClicks(&edit, "9");
    EXPECT_EQ(edit.text(), "9");
}

TEST(FilteredEdit, PastedTextIsFilteredWhereverItLands)
{
    CDigitEdit edit;
    QTest::keyClicks(&edit, "1290");
    edit.setCursorPosition(2);
    QApplication::clipboard()->setText("S/N 3-4");
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), "123490");
    // The cursor stays after what was pasted, as it would for clean text.
    EXPECT_EQ(edit.cursorPosition(), 4);

    CHexEdit hex;
    QApplication::clipboard()->setText("0x1A2b");
    hex.paste(); // the context menu's Paste
    EXPECT_EQ(hex.text(), "01A2b");

    QApplication::clipboard()->setText("none 146,52");
    CDecimalEdit decimal;
    decimal.paste();
    EXPECT_EQ(decimal.text(), "146.52");
}

TEST(FilteredEdit, TextSetByTheProgramIsKept)
{
    // The serial field shows "?" for a number it cannot show; the filter is for the user.
    CDigitEdit edit;
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    edit.setText("?");
    EXPECT_EQ(edit.text(), "?");
    EXPECT_EQ(changes.count(), 1);
}

} // namespace
} // namespace kq904
