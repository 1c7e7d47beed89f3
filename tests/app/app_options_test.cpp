// The desktop program's command line.
#include <gtest/gtest.h>

#include "app/app_options.h"

namespace kq904 {
namespace {

TEST(AppOptions, AcceptsASetFileTheDataDirectoryAndTheSimulatedRadio)
{
    struct Case {
        QStringList arguments;
        bool ok;
        QString setFile;
        QString dataDir;
        bool simulate;
    };
    const Case cases[] = {
        {{}, true, {}, {}, false},
        {{"radio.set"}, true, "radio.set", {}, false},
        {{"--data-dir", "/tmp/d", "radio.set"}, true, "radio.set", "/tmp/d", false},
        {{"--simulate", "--data-dir", "d"}, true, {}, "d", true},
        {{"a.set", "--simulate"}, true, "a.set", {}, true},
        {{"--data-dir"}, false, {}, {}, false},
        {{"--data-dir", ""}, false, {}, {}, false},
        {{"--colour"}, false, {}, {}, false},
        {{"a.set", "b.set"}, false, {}, {}, false},
    };
    for (const Case& c : cases) {
        const AppOptions options = parseAppOptions(QStringList{"kq904"} + c.arguments);
        const QString what = c.arguments.join(' ');
        EXPECT_EQ(options.ok, c.ok) << what.toStdString();
        if (!c.ok) {
            EXPECT_FALSE(options.error.isEmpty()) << what.toStdString();
            continue;
        }
        EXPECT_EQ(options.setFile, c.setFile) << what.toStdString();
        EXPECT_EQ(options.dataDir, c.dataDir) << what.toStdString();
        EXPECT_EQ(options.simulate, c.simulate) << what.toStdString();
    }
    EXPECT_TRUE(parseAppOptions({"kq904", "--help"}).helpRequested);
    EXPECT_EQ(parseAppOptions({"kq904", "--screenshots", "out"}).screenshotDir, "out");
}

} // namespace
} // namespace kq904
