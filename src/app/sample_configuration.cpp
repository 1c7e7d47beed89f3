#include "sample_configuration.h"

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

#include "model/channel_label.h"
#include "model/feature_flags.h"
#include "model/file_io.h"
#include "model/frequency.h"
#include "model/program_version.h"
#include "model/table_files.h"
#include "model/tone_tables.h"

namespace kq904 {

namespace {

enum class ToneKind : std::uint8_t { None, Ctcss, Dcs };

struct SampleTone {
    ToneKind kind = ToneKind::None;
    unsigned index = 0;
};

template <std::size_t N>
constexpr unsigned indexIn(const std::array<std::string_view, N>& table, std::string_view text)
{
    for (std::size_t i = 0; i < N; ++i)
        if (table[i] == text)
            return static_cast<unsigned>(i);
    return static_cast<unsigned>(N); // caught by the static_assert below
}

constexpr SampleTone ctcss(std::string_view hertz)
{
    return {ToneKind::Ctcss, indexIn(kCtcssTable, hertz)};
}
constexpr SampleTone dcs(std::string_view code)
{
    return {ToneKind::Dcs, indexIn(kDcsTable, code)};
}
constexpr SampleTone none{};

enum class BusyLock : std::uint8_t { None, Bclo, Btlo, Rbclo, Rbtlo };

// One channel as a dealer would set it up. A transmit frequency of 0 is a receive-only channel
// (transmit disabled); every frequency lies on the 5 kHz or the 6.25 kHz raster, so the forms
// show it and store it back exactly.
struct SampleChannel {
    std::string_view name;
    std::uint32_t receive; // Hz, as the user sees it
    std::uint32_t transmit; // Hz; 0: receive only
    SampleTone txTone;
    SampleTone rxTone;
    bool highPower;
    bool wide;
    bool scan;
    unsigned timeOut; // 0 off, 1 = 30 s ... 5 = 180 s
    BusyLock busyLock;
    int pttCode; // 0-999; -1: none
    bool selectiveCalling;
};

// A site with a VHF fleet (band 1) and UHF on-site and repeater channels (band 2).
constexpr std::array<SampleChannel, 24> kSampleChannels = {{
    {"DEPOT", 151'625'000, 151'625'000, ctcss("88.5"), ctcss("88.5"), true, false, true, 2,
        BusyLock::Bclo, -1, true},
    {"YARD", 154'570'000, 154'570'000, dcs("023"), dcs("023"), false, false, true, 2,
        BusyLock::None, 101, false},
    {"GATE", 151'940'000, 151'940'000, ctcss("100"), ctcss("100"), false, false, true, 2,
        BusyLock::Btlo, -1, false},
    {"SEC1", 152'480'000, 157'740'000, ctcss("123"), ctcss("123"), true, false, true, 3,
        BusyLock::Bclo, 204, false},
    {"SEC2", 152'510'000, 157'770'000, dcs("125"), dcs("125"), true, false, true, 3, BusyLock::Bclo,
        -1, false},
    {"MAINT", 151'700'000, 151'700'000, ctcss("71.9"), none, false, true, false, 1, BusyLock::None,
        -1, false},
    {"WX", 162'550'000, 0, none, none, false, true, false, 0, BusyLock::None, -1, false},
    {"FIRE", 154'280'000, 154'280'000, ctcss("156.7"), ctcss("156.7"), true, false, true, 4,
        BusyLock::Rbclo, -1, false},
    {"MED", 155'340'000, 155'340'000, ctcss("167.9"), ctcss("167.9"), true, false, true, 2,
        BusyLock::None, -1, true},
    {"OPS1", 151'805'000, 151'805'000, ctcss("103.5"), ctcss("103.5"), true, false, true, 2,
        BusyLock::Bclo, 310, false},
    {"OPS2", 151'835'000, 151'835'000, ctcss("110.9"), ctcss("110.9"), true, false, true, 2,
        BusyLock::Bclo, -1, false},
    {"TRUCK", 151'505'000, 151'505'000, ctcss("97.4"), ctcss("97.4"), true, false, true, 3,
        BusyLock::None, -1, false},
    {"DOCK", 464'500'000, 464'500'000, ctcss("146.2"), ctcss("146.2"), false, false, true, 2,
        BusyLock::Btlo, -1, false},
    {"SHOP", 464'550'000, 464'550'000, dcs("244"), dcs("244"), false, false, true, 2,
        BusyLock::None, -1, false},
    {"TALK", 461'037'500, 461'037'500, ctcss("67"), none, false, false, false, 1, BusyLock::None,
        -1, false},
    {"REP1", 451'800'000, 456'800'000, ctcss("131.8"), ctcss("131.8"), true, false, true, 5,
        BusyLock::Bclo, 415, false},
    {"REP2", 453'025'000, 458'025'000, dcs("411"), dcs("411"), true, false, true, 5, BusyLock::Bclo,
        -1, false},
    {"EVENT", 467'762'500, 467'762'500, ctcss("192.8"), ctcss("192.8"), false, false, true, 2,
        BusyLock::None, -1, false},
    {"PARK", 462'762'500, 462'762'500, ctcss("82.5"), none, false, false, true, 1, BusyLock::None,
        -1, false},
    {"NIGHT", 461'087'500, 461'087'500, ctcss("94.8"), ctcss("94.8"), true, false, true, 3,
        BusyLock::Rbtlo, -1, false},
    {"SPARE", 450'015'000, 450'015'000, none, none, false, false, false, 0, BusyLock::None, -1,
        false},
    {"CREW", 461'062'500, 461'062'500, dcs("503"), dcs("503"), false, false, true, 2,
        BusyLock::None, 520, false},
    {"GUARD", 452'350'000, 457'350'000, ctcss("151.4"), ctcss("151.4"), true, false, true, 3,
        BusyLock::Bclo, -1, true},
    {"ALARM", 463'550'000, 463'550'000, dcs("054"), dcs("054"), true, false, true, 2,
        BusyLock::None, 999, true},
}};

constexpr bool tonesAreInTheTables()
{
    for (const SampleChannel& c : kSampleChannels)
        for (const SampleTone& t : {c.txTone, c.rxTone})
            if ((t.kind == ToneKind::Ctcss && t.index >= kCtcssUserSet)
                || (t.kind == ToneKind::Dcs && t.index >= kDcsUserSet))
                return false;
    return true;
}
static_assert(tonesAreInTheTables(), "a sample tone is not in the CTCSS or DCS table");

constexpr std::uint32_t kIntermediateFrequency = 21'400'000; // receiver IF, oscillator below
// Reference dividers for a 12.8 MHz crystal: 12.8 MHz / 6.25 kHz and 12.8 MHz / 5 kHz. Bit 15
// of the 5 kHz counter is clear, so the synthesizer's prescaler divides by 128.
constexpr std::uint32_t kRefCounter6250 = 0x800;
constexpr std::uint32_t kRefCounter5000 = 0xA00;

// Every optional function, so that "V", the names and the Factory form are there to try.
constexpr std::string_view kEveryFeature = "ani_version\nchannel_name\nversion_show_enable\n"
                                           "power_delay_set_enable\npower_on_password\n"
                                           "shunting_radio_enable\nfactory\n";

void setTone(RadioImage& image, int channel, Half half, SampleTone tone)
{
    auto& record = image.channels[static_cast<std::size_t>(channel)];
    const bool transmit = half == Half::Transmit;
    record.set(transmit ? ChannelRecord::txToneIsCtcss : ChannelRecord::rxToneIsCtcss,
        tone.kind == ToneKind::Ctcss);
    record.set(transmit ? ChannelRecord::txToneIsDcs : ChannelRecord::rxToneIsDcs,
        tone.kind == ToneKind::Dcs);
    record.set(transmit ? ChannelRecord::txTone : ChannelRecord::rxTone, tone.index);
}

void setBusyLock(Block<ChannelRecord>& record, BusyLock lock)
{
    record.set(ChannelRecord::busyLockBclo, lock == BusyLock::Bclo);
    record.set(ChannelRecord::busyLockBtlo, lock == BusyLock::Btlo);
    record.set(ChannelRecord::busyLockRbclo, lock == BusyLock::Rbclo);
    record.set(ChannelRecord::busyLockRbtlo, lock == BusyLock::Rbtlo);
}

void storeChannel(RadioImage& image, int n, const SampleChannel& c, std::uint32_t shift)
{
    const auto i = static_cast<std::size_t>(n);
    auto& record = image.channels[i];
    const bool receiveOnly = c.transmit == 0;
    record.set(ChannelRecord::rxWide, c.wide);
    record.set(ChannelRecord::txNarrow, !c.wide);
    setReceiveFrequency(image, n, c.receive + shift);
    setTransmitFrequency(image, n, receiveOnly ? c.receive + shift : c.transmit + shift);
    setTone(image, n, Half::Transmit, receiveOnly ? none : c.txTone);
    setTone(image, n, Half::Receive, c.rxTone);
    record.set(ChannelRecord::highPower, c.highPower);
    record.set(ChannelRecord::scan, c.scan);
    record.set(
        ChannelRecord::timeOut, receiveOnly ? ChannelRecord::timeOutTransmitDisabled : c.timeOut);
    // Lock-outs that follow the receive tone need one; a receive-only channel locks nothing.
    const bool toneLock = c.busyLock == BusyLock::Btlo || c.busyLock == BusyLock::Rbtlo;
    const bool locks = !receiveOnly && (!toneLock || c.rxTone.kind != ToneKind::None);
    setBusyLock(record, locks ? c.busyLock : BusyLock::None);
    record.set(ChannelRecord::monitorByCarrier, c.busyLock == BusyLock::Rbclo);

    auto& extra = image.extras[i];
    if (c.pttCode >= 0) {
        const auto code = static_cast<unsigned>(c.pttCode);
        extra.set(ChannelExtra::pttCodeEnable, true);
        extra.set(ChannelExtra::pttDigit1, code / 100);
        extra.set(ChannelExtra::pttDigit2, code / 10 % 10);
        extra.set(ChannelExtra::pttDigit3, code % 10);
    }
    // Selective calling keeps the speaker shut until called: the monitor is off with it.
    extra.set(ChannelExtra::selectiveCalling, c.selectiveCalling);
    extra.set(ChannelExtra::monitorDisable, c.selectiveCalling);
}

void setDigits(
    Block<CodeSettings>& code, std::span<const CodeSettings::Field> fields, std::string_view digits)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        code.set(fields[i], static_cast<unsigned>(digits[i] - '0'));
}

void setGeneralSettings(RadioImage& image)
{
    auto& general = image.general;
    // The synthesizer's reference counters as the Factory form copies them.
    using FS = FactorySettings;
    std::copy_n(image.factory.range(FS::ByteRange{FS::refCounter6250.offset, 3}).begin(), 3,
        general.range(GeneralSettings::refCounter6250).begin());
    std::copy_n(image.factory.range(FS::ByteRange{FS::refCounter5000.offset, 3}).begin(), 3,
        general.range(GeneralSettings::refCounter5000).begin());
    // Bytes 8-11 always hold 0, 3, 3, 0 in a radio's general settings.
    const std::array<std::uint8_t, 4> fixed = {0, 3, 3, 0};
    std::copy(fixed.begin(), fixed.end(), general.range(GeneralSettings::fixedBytes).begin());
    general.set(GeneralSettings::dtmfVersion, true);
    general.set(GeneralSettings::powerDelay, 2); // 30 ms
    general.set(GeneralSettings::powerSave, true);
    general.set(GeneralSettings::powerSaveRatio, 1); // 1:2, the most a DTMF radio offers
    general.set(GeneralSettings::priorityChannel, 0);
    general.set(GeneralSettings::keyBeep, true);
    general.set(GeneralSettings::priorityMode, true);
    general.set(GeneralSettings::keypadLockUserAccess, true);
    general.set(GeneralSettings::userKeyUpDown, true);
    general.set(GeneralSettings::userKeyScan, true);
    general.set(GeneralSettings::pttAniTransmit, true);
    general.set(GeneralSettings::prioritySettingByUser, true);
    general.set(GeneralSettings::batteryLowWarning, true);
    general.set(GeneralSettings::unitIdDigit1, 1);
    general.set(GeneralSettings::unitIdDigit2, 0);
    general.set(GeneralSettings::unitIdDigit3, 4);
    general.set(GeneralSettings::dtmfReceiveAnyTime, true);
    general.set(GeneralSettings::pttIdDelay, 1); // 300 ms
    const std::string_view greeting = "KQ904";
    std::copy(
        greeting.begin(), greeting.end(), general.range(GeneralSettings::welcomeGreeting).begin());
    general.set(GeneralSettings::fiveCharacterNames, true);
    general.set(GeneralSettings::dtmfOnOffTime, 2); // 33 ms
    general.set(GeneralSettings::killFeature, true);
}

void setCodeAndKill(RadioImage& image)
{
    auto& code = image.code;
    setDigits(code, Identities::unitIdCode, "27"); // unit ID 10427
    setDigits(code, Identities::allGroup, "10000");
    setDigits(code, Identities::subGroup, "10400");
    code.set(CodeSettings::emergencyCode, true);
    code.set(CodeSettings::talkingTime, 1); // 60 s
    code.set(CodeSettings::aniShowTime, 2); // 15 s
    code.set(CodeSettings::homeChannel, 0);
    const std::array<std::uint8_t, 5> emergency = {9, 1, 1, 0, 0};
    std::copy(
        emergency.begin(), emergency.end(), code.range(CodeSettings::emergencyDigits).begin());

    image.id.set(IdSettings::serialNumber, 41);
    // Ten digits, two per byte: kill 1234567890, revive 0987654321.
    const std::array<std::uint8_t, 5> kill = {0x12, 0x34, 0x56, 0x78, 0x90};
    const std::array<std::uint8_t, 5> revive = {0x09, 0x87, 0x65, 0x43, 0x21};
    std::copy(kill.begin(), kill.end(), image.kill.range(KillSettings::killId).begin());
    std::copy(revive.begin(), revive.end(), image.kill.range(KillSettings::reviveId).begin());
    image.kill.set(KillSettings::reviveByAir, true);
}

std::string tableError(const Result& result)
{
    return result ? std::string() : result.error;
}

} // namespace

RadioImage sampleConfiguration(int channels)
{
    channels = std::clamp(channels, 1, kChannelSlots);
    RadioImage image;
    image.featureFlags = FeatureFlags::aniVersion | FeatureFlags::channelName
        | FeatureFlags::versionShow | FeatureFlags::powerDelaySetting
        | FeatureFlags::powerOnPassword | FeatureFlags::shuntingRadio;

    auto& factory = image.factory;
    factory.set(FactorySettings::intermediateFrequency, kIntermediateFrequency);
    factory.set(FactorySettings::refCounter6250, kRefCounter6250);
    factory.set(FactorySettings::refCounter5000, kRefCounter5000);
    factory.set(FactorySettings::band1Low, 136'000'000);
    factory.set(FactorySettings::band1High, 174'000'000);
    factory.set(FactorySettings::band2Low, 400'000'000);
    factory.set(FactorySettings::band2High, 470'000'000);
    auto version = factory.range(FactorySettings::versionText);
    std::copy_n(kProgramVersion, version.size(), version.begin()); // the text and its NUL

    image.setChannelCount(channels);
    setGeneralSettings(image);
    setCodeAndKill(image);

    for (int n = 0; n < channels; ++n) {
        // Past the 24 sample channels the pattern repeats 25 kHz higher, named after the
        // channel it repeats and its own number ("DEP25").
        const auto round = static_cast<std::size_t>(n) / kSampleChannels.size();
        const SampleChannel& c =
            kSampleChannels[static_cast<std::size_t>(n) % kSampleChannels.size()];
        storeChannel(image, n, c, static_cast<std::uint32_t>(round) * 25'000u);
        std::string name(c.name);
        if (round > 0) {
            const std::array<char, 5> numbered = defaultChannelName(n);
            name = name.substr(0, 3) + std::string(numbered.data() + 2, 2);
        }
        storeChannelName(image, n, name);
        updateBandBits(image, n);
    }
    return image;
}

Result createSampleDataDir(const std::filesystem::path& dataDir)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(dataDir, ec))
        return Result::failure(
            pathText(dataDir) + " exists already; the sample goes only into a new data directory");
    // Written into a directory beside it and renamed into place when complete, so a failure
    // never leaves a data directory with half a configuration that the next start would take.
    const fs::path parent = dataDir.has_parent_path() ? dataDir.parent_path() : fs::path(".");
    fs::create_directories(parent, ec);
    std::random_device random;
    const fs::path building =
        parent / (".kq904-sample-" + std::to_string(random() % 1'000'000'000u));
    if (!fs::create_directory(building, ec))
        return Result::failure("cannot create " + pathText(building) + ": "
            + (ec ? ec.message() : std::string("it exists")));

    const RadioImage image = sampleConfiguration(static_cast<int>(kSampleChannels.size()));
    std::string error;
    for (TableFile file : {TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill})
        if (error.empty())
            error = tableError(writeTableFile(image, building, file));
    if (error.empty()) {
        const auto* text = reinterpret_cast<const std::uint8_t*>(kEveryFeature.data());
        error = tableError(writeFileAtomically(
            building / kFeatureFileName, std::span(text, kEveryFeature.size())));
    }
    if (error.empty()) {
        fs::rename(building, dataDir, ec);
        if (ec)
            error = "cannot create " + pathText(dataDir) + ": " + ec.message();
    }
    if (!error.empty()) {
        fs::remove_all(building, ec);
        return Result::failure(error);
    }
    return Result::success();
}

} // namespace kq904
