// The feature-flag keyword search and kq904.ini. The first input byte gives the length (0-15)
// of a keyword taken from the input; the rest is the file. Checked against the rule the search
// implements: a keyword is found when a word of the text (a run of bytes between separators,
// 0x00-0x20 and 0x80-0xFF) begins with it, 'A'-'Z' compared as 'a'-'z'.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "model/feature_flags.h"

using namespace kq904;
using namespace kq904::fuzz;

namespace {

struct Keyword {
    const char* text;
    std::uint16_t flag;
};
constexpr std::array<Keyword, 6> kKeywords = {{
    {"ani_version", FeatureFlags::aniVersion},
    {"channel_name", FeatureFlags::channelName},
    {"version_show_enable", FeatureFlags::versionShow},
    {"power_delay_set_enable", FeatureFlags::powerDelaySetting},
    {"power_on_password", FeatureFlags::powerOnPassword},
    {"shunting_radio_enable", FeatureFlags::shuntingRadio},
}};
constexpr std::uint16_t kAllFlags = FeatureFlags::aniVersion | FeatureFlags::channelName
    | FeatureFlags::versionShow | FeatureFlags::powerDelaySetting | FeatureFlags::powerOnPassword
    | FeatureFlags::shuntingRadio;

bool isSeparator(std::uint8_t b)
{
    return b <= 0x20 || b >= 0x80;
}

char lowered(std::uint8_t b)
{
    return static_cast<char>(b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
}

// The words of the text, lowered, as the rule defines them.
std::vector<std::string> wordsOf(std::span<const std::uint8_t> text)
{
    std::vector<std::string> words;
    std::string word;
    for (std::uint8_t b : text) {
        if (isSeparator(b)) {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += lowered(b);
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

bool someWordBeginsWith(const std::vector<std::string>& words, std::string_view keyword)
{
    return !keyword.empty() && std::any_of(words.begin(), words.end(), [&](const std::string& w) {
        return w.starts_with(keyword);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    InputReader input(data, size);
    const std::string keyword(input.text(input.byte() % 16));
    const auto file = input.rest();
    const std::vector<std::string> words = wordsOf(file);

    // The search on a buffer that earlier searches have lowered, as readFeatureFlags runs it.
    std::vector<char> buffer(file.begin(), file.end());
    for (const auto& k : kKeywords)
        FUZZ_CHECK(findKeyword(buffer, k.text) == someWordBeginsWith(words, k.text),
            "a keyword is found exactly when a word begins with it");
    FUZZ_CHECK(findKeyword(buffer, keyword) == someWordBeginsWith(words, keyword),
        "any keyword is found exactly when a word begins with it");
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        const auto original = static_cast<char>(file[i]);
        FUZZ_CHECK(buffer[i] == original || buffer[i] == lowered(file[i]),
            "the search changes nothing but the case of letters");
    }

    // The file: only its first 200 bytes count, and only the six feature bits change.
    const std::filesystem::path& dir = scratchDirectory();
    putFile(dir / kFeatureFileName, file);
    const std::vector<std::string> headWords =
        wordsOf(file.first(std::min<std::size_t>(file.size(), 200)));
    RadioImage image;
    image.featureFlags = static_cast<std::uint16_t>(0xFFFF ^ (file.empty() ? 0 : file[0]));
    const std::uint16_t untouched = static_cast<std::uint16_t>(image.featureFlags & ~kAllFlags);
    const bool factory = readFeatureFlags(image, dir);
    FUZZ_CHECK(factory == someWordBeginsWith(headWords, "factory"),
        "the factory command follows the keyword in the first 200 bytes");
    FUZZ_CHECK((image.featureFlags & ~kAllFlags) == untouched, "other feature bits are kept");
    for (const auto& k : kKeywords)
        FUZZ_CHECK(((image.featureFlags & k.flag) != 0) == someWordBeginsWith(headWords, k.text),
            "each feature bit follows its keyword in the first 200 bytes");
    return 0;
}
