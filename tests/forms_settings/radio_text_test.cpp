// Text between the radio's one-byte characters and the controls' UTF-8.

#include <gtest/gtest.h>

#include "forms/radio_text.h"

namespace kq904 {
namespace {

TEST(RadioText, EveryByteSurvivesTheTripThroughTheControls)
{
    std::string bytes;
    for (int b = 1; b < 256; ++b)
        bytes += static_cast<char>(b);
    EXPECT_EQ(radioTextFromUtf8(utf8FromRadioText(bytes)), bytes);
}

TEST(RadioText, OneByteForEachCharacter)
{
    struct Case {
        const char* utf8;
        const char* bytes;
    };
    const Case cases[] = {
        {"AB-1 ", "AB-1 "},
        {"\xC3\xA9t\xC3\xA9", "\xE9t\xE9"}, // Latin-1 letters keep their code
        {"\xE2\x82\xAC"
         "5",
            "?5"}, // beyond Latin-1
        {"\xF0\x9F\x93\xBB!", "?!"}, // four-byte sequence
        {"\xFF\xC3", "??"}, // broken sequences, one '?' per byte
        {"\x80x", "?x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(radioTextFromUtf8(c.utf8), c.bytes) << c.utf8;
}

} // namespace
} // namespace kq904
