// Under a comma locale every number the program shows, parses, prints or writes keeps its '.':
// a form opened and closed with OK stores back exactly what it showed, and the listing, the
// printout and the CLI show the fixed forms. The suite's main has switched to de_DE.UTF-8.
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <regex>

#include "app/app_test_support.h"
#include "app/sample_configuration.h"
#include "forms/channel_name_ids.h"
#include "forms/channel_setting_ids.h"
#include "forms/code_function_ids.h"
#include "forms/factory_setting_ids.h"
#include "forms/general_setting_ids.h"
#include "forms/kill_feature_ids.h"
#include "forms/widgets/channel_name_dialog.h"
#include "forms/widgets/channel_setting_dialog.h"
#include "forms/widgets/code_function_dialog.h"
#include "forms/widgets/factory_setting_dialog.h"
#include "forms/widgets/general_setting_dialog.h"
#include "forms/widgets/kill_feature_dialog.h"
#include "model/set_file.h"
#include "view/listing_text.h"

namespace kq904 {
namespace {

class CommaLocaleTest : public testing::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        std::filesystem::remove_all(dataDir());
        ASSERT_TRUE(createSampleDataDir(dataDir()));
        startWindow();
    }

    std::vector<std::vector<char>> tableFiles() const
    {
        std::vector<std::vector<char>> files;
        for (const char* name : {"channelTab.bin", "setTab.bin", "factoryTab.bin", "killTab.bin"})
            files.push_back(testing::fileBytes(dataDir() / name));
        return files;
    }

    // What the user sees in the form's text fields, then the form's OK.
    static void closeWithOk(FormDialog& dialog, int okId)
    {
        for (const QLineEdit* field : dialog.findChildren<QLineEdit*>())
            EXPECT_FALSE(field->text().contains(QLatin1Char(','))) << field->text();
        qobject_cast<QAbstractButton*>(dialog.controls().widget(okId))->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << dialog.windowTitle();
    }
    static QString text(FormDialog& dialog, int id)
    {
        return qobject_cast<QLineEdit*>(dialog.controls().widget(id))->text();
    }
};

std::size_t firstDifference(const RadioImage& a, const RadioImage& b)
{
    const auto x = encodeSetFile(a);
    const auto y = encodeSetFile(b);
    return static_cast<std::size_t>(std::mismatch(x.begin(), x.end(), y.begin()).first - x.begin());
}

TEST_F(CommaLocaleTest, EveryFormClosedWithOkChangesNoByte)
{
    RadioImage& image = session_->image();
    const RadioImage before = image;
    const auto tablesBefore = tableFiles();
    {
        // Every channel is stored from what the form shows: by ">" and by Scan.
        namespace Id = ChannelSettingId;
        CChannelSettingDlg channel(image, dataDir(), 0);
        EXPECT_EQ(text(channel, Id::txFrequency), "151.62500");
        EXPECT_EQ(text(channel, Id::rxFrequency), "151.62500");
        for (int n = 0; n < image.channelCount(); ++n) {
            for (int id : {Id::scan, Id::scan, Id::nextChannel})
                qobject_cast<QAbstractButton*>(channel.controls().widget(id))->click();
        }
        closeWithOk(channel, Id::ok);
    }
    CChannelNameDlg name(image, 0);
    closeWithOk(name, ChannelNameId::ok);
    CGeneralSettingDlg general(image, dataDir());
    closeWithOk(general, general_setting_ids::ok);
    CCodeFunctionDlg code(image, dataDir());
    closeWithOk(code, code_function_ids::ok);
    CKillFeatureDlg kill(image, dataDir());
    closeWithOk(kill, kill_feature_ids::ok);
    CFactorySettingDlg factory(image, dataDir());
    EXPECT_EQ(text(factory, factory_setting_ids::ifFrequency), "21.4000");
    closeWithOk(factory, factory_setting_ids::ok);

    EXPECT_TRUE(image == before) << "set-file byte " << firstDifference(image, before);
    EXPECT_TRUE(tableFiles() == tablesBefore) << "a table file changed";
}

TEST_F(CommaLocaleTest, ListingPrintoutAndCliShowFrequenciesWithAPoint)
{
    // Channel 1: 151.625 MHz both ways; the first UHF repeater receives on 451.8 MHz.
    auto shows = [](const std::string& listing, const char* where) {
        EXPECT_NE(listing.find(" 151.62500   151.62500"), std::string::npos) << where;
        EXPECT_NE(listing.find(" 456.80000   451.80000"), std::string::npos) << where;
        EXPECT_FALSE(std::regex_search(listing, std::regex("[0-9],[0-9]"))) << where << listing;
    };
    shows(screenListingText(session_->image()), "screen");
    shows(printedListingText(session_->image()), "printout");

    QProcess cli;
    cli.start(QStringLiteral(KQ904_BIN_DIR "/kq904-cli"),
        {QStringLiteral("listing"), QStringLiteral("--data-dir"),
            QString::fromStdString(dataDir().string())});
    ASSERT_TRUE(cli.waitForFinished(30000));
    shows(cli.readAllStandardOutput().toStdString(), "kq904-cli listing");

    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is needed to read the PDF back";
    const QString pdf = QString::fromStdString(file("listing.pdf").string());
    ASSERT_TRUE(window_->exportPdf(pdf));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(page.contains(QStringLiteral("151.62500"))) << page;
    EXPECT_FALSE(page.contains(QRegularExpression(QStringLiteral("[0-9],[0-9]")))) << page;
}

} // namespace
} // namespace kq904
