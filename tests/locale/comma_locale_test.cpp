// Under de_DE.UTF-8 (see the suite's main) every number keeps its '.': a form opened and closed
// with OK stores back exactly what it showed, and the listing, printout, PDF and CLI show the
// fixed forms.
#include <QProcess>
#include <regex>

#include "app/app_test_support.h"
#include "app/sample_configuration.h"
#include "forms/channel_setting_ids.h"
#include "forms/factory_setting_ids.h"
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
    static void click(FormDialog& dialog, int id)
    {
        qobject_cast<QAbstractButton*>(dialog.controls().widget(id))->click();
    }
    static QString text(FormDialog& dialog, int id)
    {
        return qobject_cast<QLineEdit*>(dialog.controls().widget(id))->text();
    }
    // What the user sees in the text fields, then OK ("OK" is id 1 or 1038).
    static void closeWithOk(FormDialog& dialog)
    {
        for (const QLineEdit* field : dialog.findChildren<QLineEdit*>())
            EXPECT_FALSE(field->text().contains(QLatin1Char(','))) << field->text();
        click(dialog, dialog.controls().widget(1038) ? 1038 : 1);
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << dialog.windowTitle();
    }
};

TEST_F(CommaLocaleTest, EveryFormClosedWithOkChangesNoByte)
{
    RadioImage& image = session_->image();
    const RadioImage before = image;
    const auto tablesBefore = tableFiles();
    {
        // Every channel is stored from what the form shows: by Scan and by ">".
        namespace Id = ChannelSettingId;
        CChannelSettingDlg channel(image, dataDir(), 0);
        EXPECT_EQ(text(channel, Id::txFrequency), "151.62500");
        for (int n = 0; n < image.channelCount(); ++n)
            for (int id : {Id::scan, Id::scan, Id::nextChannel})
                click(channel, id);
        closeWithOk(channel);
    }
    CChannelNameDlg name(image, 0);
    closeWithOk(name);
    CGeneralSettingDlg general(image, dataDir());
    closeWithOk(general);
    CCodeFunctionDlg code(image, dataDir());
    closeWithOk(code);
    CKillFeatureDlg kill(image, dataDir());
    closeWithOk(kill);
    CFactorySettingDlg factory(image, dataDir());
    EXPECT_EQ(text(factory, factory_setting_ids::ifFrequency), "21.4000");
    closeWithOk(factory);

    const auto saved = encodeSetFile(image);
    const auto original = encodeSetFile(before);
    EXPECT_EQ(std::mismatch(saved.begin(), saved.end(), original.begin()).first - saved.begin(),
        saved.end() - saved.begin())
        << "the first set-file byte that changed";
    EXPECT_TRUE(tableFiles() == tablesBefore) << "a table file changed";
}

TEST_F(CommaLocaleTest, ListingPrintoutPdfAndCliShowFrequenciesWithAPoint)
{
    QProcess cli;
    cli.start(QStringLiteral(KQ904_BIN_DIR "/kq904-cli"),
        {"listing", "--data-dir", QString::fromStdString(dataDir().string())});
    ASSERT_TRUE(cli.waitForFinished(30000));
    const QString pdf = QString::fromStdString(file("listing.pdf").string());
    ASSERT_TRUE(window_->exportPdf(pdf));
    QProcess pdfText;
    pdfText.start(QStringLiteral("pdftotext"), {"-layout", pdf, "-"});
    ASSERT_TRUE(pdfText.waitForFinished(30000)) << "pdftotext (poppler-utils) is needed";

    // Channel 1: 151.625 MHz both ways; the first UHF repeater receives on 451.8 MHz.
    for (std::string listing : {screenListingText(session_->image()),
             printedListingText(session_->image()), cli.readAllStandardOutput().toStdString(),
             pdfText.readAllStandardOutput().toStdString()}) {
        listing = std::regex_replace(listing, std::regex(" +"), " ");
        EXPECT_NE(listing.find(" 151.62500 151.62500 "), std::string::npos) << listing;
        EXPECT_NE(listing.find(" 456.80000 451.80000 "), std::string::npos) << listing;
        EXPECT_FALSE(std::regex_search(listing, std::regex("[0-9],[0-9]"))) << listing;
    }
}

} // namespace
} // namespace kq904
