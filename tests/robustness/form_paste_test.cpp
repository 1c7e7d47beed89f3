// Any text arriving in one go in the PTT code field, which keeps three characters: the field is
// cut back at once, without one nested text change per extra character (which ran the stack out
// for a long paste).
#include <gtest/gtest.h>

#include <string>

#include "forms_channel/channel_form_fixture.h"

namespace kq904::testing {
namespace {

TEST_F(ChannelFormTest, PttCodeTakesTheFirstThreeCharactersOfAnyLongText)
{
    open(2);
    controls.toggle(ids::pttCodeEnable);
    const struct {
        std::string pasted;
        std::string kept;
        bool stored;
    } cases[] = {
        {std::string(100000, '7'), "777", true},
        {"4567" + std::string(5000, '1'), "456", true},
        {"12Ä345", "12Ä", false}, // a two-byte character is one character
        {"ÄÖÜ€", "ÄÖÜ", false},
    };
    for (const auto& c : cases) {
        extra(2).set(ChannelExtra::pttDigit1, 9);
        controls.type(ids::pttCode, c.pasted);
        EXPECT_EQ(controls.text(ids::pttCode), c.kept);
        EXPECT_EQ(extra(2).get(ChannelExtra::pttDigit1), c.stored ? unsigned(c.kept[0] - '0') : 9u)
            << c.kept;
    }
}

} // namespace
} // namespace kq904::testing
