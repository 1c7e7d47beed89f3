// Text of any length and any characters pasted, inserted, typed or set into every text field of
// every form dialog, then "OK": no crash, nothing changes outside the blocks the form edits,
// every digit the radio keeps stays 0-9, and the table files the form wrote hold what the image
// holds.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "forms/widgets/channel_name_dialog.h"
#include "forms/widgets/channel_setting_dialog.h"
#include "forms/widgets/code_function_dialog.h"
#include "forms/widgets/factory_setting_dialog.h"
#include "forms/widgets/general_setting_dialog.h"
#include "forms/widgets/kill_feature_dialog.h"
#include "forms/widgets/programming_dialog.h"
#include "link/file_path.h"
#include "link/link.h"
#include "link/profile_settings.h"
#include "model/frequency.h"
#include "model/table_files.h"
#include "sim/in_process_transport.h"
#include "sim/simulated_radio.h"
#include "support/image_fill.h"

namespace kq904 {
namespace {

// The blocks a form may write.
enum Blocks : unsigned {
    kFactory = 1,
    kGeneral = 2,
    kCode = 4,
    kId = 8,
    kKill = 16,
    kChannels = 32,
    kExtras = 64,
};

constexpr int kNamedChannel = 3;

struct HostileText {
    const char* what;
    QString text;
};

std::vector<HostileText> hostileTexts()
{
    QString hundred;
    for (int i = 0; i < 100; ++i)
        hundred += QChar(u"0123456789.aZ-+ \t"[i % 17]);
    QString huge;
    huge.reserve(100000);
    for (int i = 0; i < 100000; ++i)
        huge += QChar(u"9.8A7b"[i % 6]);
    QString nul = QStringLiteral("12");
    nul += QChar(0);
    nul += QStringLiteral("34");
    nul += QChar(0);
    return {
        {"empty", QString()},
        {"one digit", QStringLiteral("7")},
        {"one letter", QStringLiteral("x")},
        {"one hundred characters", hundred},
        {"one hundred thousand characters", huge},
        {"control characters",
            QStringLiteral("\x01\x02\t\n\r\x1b\x7f"
                           "5")},
        {"NUL characters", nul},
        {"multibyte", QStringLiteral("ÄÖÜ€漢字ß")},
        {"right-to-left marks", QStringLiteral("\u200F\u202E123\u202C\u200E")},
        {"emoji", QStringLiteral("😀👍🏽1")},
        {"format directives", QStringLiteral("%s%n%x%p%%")},
        {"many digits", QStringLiteral("12345678901234567890")},
        {"hexadecimal", QStringLiteral("DEADbeef0123456789abcdef")},
        {"decimal with two points", QStringLiteral("145.125.5")},
        {"letters for digits", QStringLiteral("JKLMNOjklmno")},
    };
}

enum class Route { SetText, Paste, Insert, Type };

const char* routeName(Route route)
{
    switch (route) {
    case Route::SetText:
        return "setText";
    case Route::Paste:
        return "paste";
    case Route::Insert:
        return "insert";
    case Route::Type:
        return "typed";
    }
    return "";
}

void PrintTo(Route route, std::ostream* out)
{
    *out << routeName(route);
}

// A configuration a radio could hold: every byte set, every digit a digit.
RadioImage startingImage()
{
    RadioImage image;
    unsigned value = 7;
    kq904::testing::fillPersistedBlocks(image, [&] {
        const unsigned byte = value;
        value = value * 29u + 3u;
        return byte;
    });
    image.setChannelCount(12);
    for (int n = 0; n < kChannelSlots; ++n) {
        setTransmitFrequency(image, n, 150000000u + 12500u * static_cast<unsigned>(n));
        setReceiveFrequency(image, n, 150000000u + 12500u * static_cast<unsigned>(n));
        auto& extra = image.extras[static_cast<std::size_t>(n)];
        extra.set(ChannelExtra::pttDigit1, 1);
        extra.set(ChannelExtra::pttDigit2, 2);
        extra.set(ChannelExtra::pttDigit3, 3);
    }
    image.id.set(IdSettings::serialNumber, 1234567);
    auto password = image.id.range(IdSettings::password);
    std::fill(password.begin(), password.end(), 4);
    auto emergency = image.code.range(CodeSettings::emergencyDigits);
    std::fill(emergency.begin(), emergency.end(), 9);
    for (const auto f : Identities::unitIdGeneral)
        image.general.set(f, 5);
    for (const auto f : Identities::unitIdCode)
        image.code.set(f, 6);
    for (const auto f : Identities::allGroup)
        image.code.set(f, 7);
    for (const auto f : Identities::subGroup)
        image.code.set(f, 8);
    auto kill = image.kill.range(KillSettings::killId);
    std::fill(kill.begin(), kill.end(), 0x12);
    auto revive = image.kill.range(KillSettings::reviveId);
    std::fill(revive.begin(), revive.end(), 0x34);
    // Every optional function on, so that every field is there to be filled.
    image.featureFlags = 0xFFFF;
    return image;
}

// `after` with the blocks a form may write taken back from `before`: equal to `before` exactly
// when nothing else changed.
RadioImage outsideBlocks(RadioImage after, const RadioImage& before, unsigned allowed)
{
    if (allowed & kFactory)
        after.factory = before.factory;
    if (allowed & kGeneral)
        after.general = before.general;
    if (allowed & kCode)
        after.code = before.code;
    if (allowed & kId)
        after.id = before.id;
    if (allowed & kKill)
        after.kill = before.kill;
    if (allowed & kChannels)
        after.channels = before.channels;
    if (allowed & kExtras)
        after.extras = before.extras;
    return after;
}

// Every digit the radio keeps, with where it is, when one is not 0-9.
std::string badDigits(const RadioImage& image)
{
    std::string bad;
    auto check = [&](unsigned value, const std::string& where) {
        if (value > 9)
            bad += where + "=" + std::to_string(value) + " ";
    };
    const auto password = image.id.range(IdSettings::password);
    for (std::size_t i = 0; i < password.size(); ++i)
        check(password[i], "password[" + std::to_string(i) + "]");
    const auto emergency = image.code.range(CodeSettings::emergencyDigits);
    for (std::size_t i = 0; i < emergency.size(); ++i)
        check(emergency[i], "emergency[" + std::to_string(i) + "]");
    for (const auto f : Identities::unitIdGeneral)
        check(image.general.get(f), "unit ID");
    for (const auto f : Identities::unitIdCode)
        check(image.code.get(f), "unit ID");
    for (const auto f : Identities::allGroup)
        check(image.code.get(f), "all group ID");
    for (const auto f : Identities::subGroup)
        check(image.code.get(f), "sub group ID");
    for (auto range : {KillSettings::killId, KillSettings::reviveId})
        for (std::uint8_t b : image.kill.range(range)) {
            check(b >> 4, "kill/revive ID");
            check(b & 0x0F, "kill/revive ID");
        }
    for (int n = 0; n < image.channelCount(); ++n) {
        const auto& extra = image.extras[static_cast<std::size_t>(n)];
        for (const ChannelExtra::Field f :
            {ChannelExtra::pttDigit1, ChannelExtra::pttDigit2, ChannelExtra::pttDigit3})
            check(extra.get(f), "PTT code of channel " + std::to_string(n));
    }
    if (image.id.get(IdSettings::serialNumber) > 9'999'999u)
        bad += "serial number ";
    return bad;
}

class HostileTextTest : public ::testing::TestWithParam<Route> {
protected:
    HostileTextTest()
    {
        radio.setRecording(false);
        profile = std::make_unique<ProfileSettings>(dir.filePath("profile.ini"));
    }

    std::filesystem::path dataDir() const { return toPath(dir.path()); }

    struct DialogCase {
        const char* name;
        unsigned allowed;
        std::function<std::unique_ptr<FormDialog>(RadioImage&)> make;
    };

    std::vector<DialogCase> dialogs()
    {
        const auto data = dataDir();
        return {
            {"Channel Setting", kGeneral | kChannels | kExtras,
                [data](RadioImage& image) {
                    return std::make_unique<CChannelSettingDlg>(image, data, 2);
                }},
            {"Channel Name", kExtras,
                [](RadioImage& image) {
                    return std::make_unique<CChannelNameDlg>(image, kNamedChannel);
                }},
            {"General Setting", kGeneral | kCode | kId,
                [data](RadioImage& image) {
                    return std::make_unique<CGeneralSettingDlg>(image, data);
                }},
            {"Code Function Setting", kGeneral | kCode,
                [data](
                    RadioImage& image) { return std::make_unique<CCodeFunctionDlg>(image, data); }},
            {"Kill Feature", kGeneral | kKill,
                [data](
                    RadioImage& image) { return std::make_unique<CKillFeatureDlg>(image, data); }},
            {"Factory Setting", kFactory | kGeneral,
                [data](RadioImage& image) {
                    return std::make_unique<CFactorySettingDlg>(image, data);
                }},
            {"Programming", kGeneral | kId,
                [this](RadioImage& image) {
                    link = std::make_unique<Link>(image, transport, &observers);
                    return std::make_unique<CProgrammingDlg>(image, *link, observers, *profile,
                        nullptr, [](QWidget*, const QString&) {});
                }},
        };
    }

    static void enter(QLineEdit* edit, Route route, const QString& text)
    {
        switch (route) {
        case Route::SetText:
            edit->setText(text);
            break;
        case Route::Paste:
            edit->selectAll();
            QGuiApplication::clipboard()->setText(text);
            edit->paste();
            break;
        case Route::Insert:
            edit->selectAll();
            edit->insert(text);
            break;
        case Route::Type:
            // One key per character, carrying the character as its text, as a keyboard layout
            // or an input method delivers characters that have no key of their own.
            edit->setFocus();
            edit->selectAll();
            for (const char32_t c : text.toUcs4())
                QTest::sendKeyEvent(
                    QTest::Click, edit, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
            break;
        }
    }

    // The table files the form wrote hold the image's blocks; removed for the next round.
    std::string staleTableFiles(const RadioImage& image) const
    {
        std::string stale;
        for (TableFile file :
            {TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill}) {
            const auto path = dataDir() / tableFileName(file);
            if (!std::filesystem::exists(path))
                continue;
            std::ifstream in(path, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            if (bytes != tableFileBytes(image, file))
                stale += std::string(tableFileName(file)) + " ";
            std::filesystem::remove(path);
        }
        return stale;
    }

    // The forms write their table files (each flushed to the disk) hundreds of times here: on
    // a RAM disk where there is one.
    static QString scratchTemplate()
    {
        const QString ramDisk = QStringLiteral("/dev/shm");
        return QDir(ramDisk).exists() ? ramDisk + QStringLiteral("/kq904-hostile-XXXXXX")
                                      : QString();
    }

    QTemporaryDir dir{scratchTemplate()};
    SimulatedRadio radio;
    InProcessTransport transport{radio};
    LinkObservers observers;
    std::unique_ptr<Link> link;
    std::unique_ptr<ProfileSettings> profile;
};

TEST_P(HostileTextTest, AnyTextInAnyFieldChangesOnlyTheFormsBlocks)
{
    const Route route = GetParam();
    const RadioImage start = startingImage();
    ASSERT_EQ(badDigits(start), "");
    int fieldsFilled = 0;
    for (const auto& dialogCase : dialogs()) {
        for (const HostileText& hostile : hostileTexts()) {
            if (route == Route::Type && hostile.text.size() > 100)
                continue; // typing a hundred thousand keys proves nothing more
            SCOPED_TRACE(
                std::string(dialogCase.name) + ", " + routeName(route) + ", " + hostile.what);
            RadioImage image = start;
            auto dialog = dialogCase.make(image);
            if (route == Route::Type)
                dialog->show(); // keys go to shown windows only
            const RadioImage opened = image; // opening may put stored values right
            const auto edits = dialog->findChildren<QLineEdit*>();
            ASSERT_FALSE(edits.isEmpty());
            for (QLineEdit* edit : edits) {
                enter(edit, route, hostile.text);
                ++fieldsFilled;
            }
            dialog->requestClose(CloseRoute::OkButton);
            dialog.reset();

            EXPECT_EQ(outsideBlocks(image, opened, dialogCase.allowed), opened)
                << "a block the form does not edit changed";
            EXPECT_EQ(image.featureFlags, start.featureFlags);
            const unsigned count = image.storedChannelCount();
            EXPECT_TRUE(count >= 1 && count <= 99) << count;
            if (route != Route::SetText) {
                EXPECT_EQ(badDigits(image), "") << "a digit outside 0-9 was stored";
            }
            EXPECT_EQ(staleTableFiles(image), "");
            if (dialogCase.allowed == kExtras) {
                // The Channel Name form edits the name of its one channel only.
                RadioImage others = image;
                others.extras[kNamedChannel] = opened.extras[kNamedChannel];
                EXPECT_EQ(others, opened);
            }
        }
    }
    EXPECT_GT(fieldsFilled, 200);
}

// One test per way in, so that the slow ones (a hundred thousand characters laid out by the
// field) run side by side.
INSTANTIATE_TEST_SUITE_P(EveryWayIn, HostileTextTest,
    ::testing::Values(Route::SetText, Route::Paste, Route::Insert, Route::Type),
    [](const ::testing::TestParamInfo<Route>& info) { return std::string(routeName(info.param)); });

} // namespace
} // namespace kq904
