#include "feature_flags.h"

#include <vector>

#include "file_io.h"

namespace kq904 {

namespace {

// Only the head of the file is looked at; a keyword further on is not seen.
constexpr std::size_t kFeatureFileLimit = 200;

struct FeatureKeyword {
    const char* keyword;
    std::uint16_t flag;
};

// In the order they are searched; the search lowers the buffer for the ones that follow.
constexpr FeatureKeyword kFeatureKeywords[] = {
    {"ani_version", FeatureFlags::aniVersion},
    {"channel_name", FeatureFlags::channelName},
    {"version_show_enable", FeatureFlags::versionShow},
    {"power_delay_set_enable", FeatureFlags::powerDelaySetting},
    {"power_on_password", FeatureFlags::powerOnPassword},
    {"shunting_radio_enable", FeatureFlags::shuntingRadio},
};
constexpr const char* kFactoryKeyword = "factory";

bool isSeparator(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte >= 0x80;
}

} // namespace

bool findKeyword(std::span<char> buffer, std::string_view keyword)
{
    if (keyword.empty())
        return false;
    std::size_t position = 0; // next keyword character to match
    bool mismatch = false; // the current word has already left the keyword
    for (char& c : buffer) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (isSeparator(c)) {
            position = 0;
            mismatch = false;
            continue;
        }
        if (c != keyword[position])
            mismatch = true;
        if (!mismatch && ++position == keyword.size())
            return true;
    }
    return false;
}

bool readFeatureFlags(RadioImage& image, const std::filesystem::path& dataDir)
{
    const FileHead head = readFileHead(dataDir / kFeatureFileName, kFeatureFileLimit);
    if (!head.result)
        return false;
    std::vector<char> text(head.bytes.begin(), head.bytes.end());
    for (const auto& [keyword, flag] : kFeatureKeywords) {
        if (findKeyword(text, keyword))
            image.featureFlags = static_cast<std::uint16_t>(image.featureFlags | flag);
        else
            image.featureFlags = static_cast<std::uint16_t>(image.featureFlags & ~flag);
    }
    return findKeyword(text, kFactoryKeyword);
}

} // namespace kq904
