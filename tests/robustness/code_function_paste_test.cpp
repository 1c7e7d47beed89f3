// Any text pasted into the Code Function form's identity and emergency-code fields, which take
// every character: only digits 0-9 reach the radio's digit fields.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "forms/code_function_form.h"
#include "forms/code_function_ids.h"
#include "forms_settings/recording_host.h"

namespace kq904::testing {
namespace {

// The identity and emergency-code fields take any character; what is no digit is stored as 0
// straight away, not only when the form is next opened, so a radio programmed in between never
// receives it.
TEST(CodeFunctionPaste, CharactersThatAreNoDigitsAreStoredAsZero)
{
    namespace ids = code_function_ids;
    RadioImage image;
    image.general.set(GeneralSettings::dtmfVersion, true);
    OpenedForm<CodeFunctionForm> opened(image);
    const struct {
        int field;
        Identity identity;
    } identities[] = {
        {ids::unitId, Identity::Unit},
        {ids::subGroupId, Identity::SubGroup},
        {ids::allGroupId, Identity::AllGroup},
    };
    for (const auto& f : identities) {
        // ':' and 'O' have the low four bits 10 and 15; 'A' has 1.
        opened.controls.type(f.field, ":A9O" + std::string(100000, 'Z'));
        EXPECT_EQ(identityDigits(image, f.identity), (std::array<unsigned, 5>{0, 1, 9, 0, 0}));
    }
    opened.controls.type(ids::emergencyDigits, "/9A~" + std::string(100000, '%'));
    const auto emergency = image.code.range(CodeSettings::emergencyDigits);
    EXPECT_EQ(std::vector<std::uint8_t>(emergency.begin(), emergency.end()),
        (std::vector<std::uint8_t>{0, 9, 0, 0, 0}));
}

} // namespace
} // namespace kq904::testing
