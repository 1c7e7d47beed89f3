// Under de_DE.UTF-8 (see the suite's main) every number keeps its '.': a form opened and closed
// with OK stores back exactly what it showed, and the listing, printout, PDF and CLI show the
// fixed forms.
#include <QProcess>
#include <regex>

#include "app/app_test_support.h"
#include "app/sample_configuration.h"
#include "forms/channel_setting_ids.h"
#include "forms/widgets/channel_name_dialog.h"
#include "forms/widgets/channel_setting_dialog.h"
#include "forms/widgets/code_function_dialog.h"
#include "forms/widgets/factory_setting_dialog.h"
#include "forms/widgets/general_setting_dialog.h"
#include "forms/widgets/kill_feature_dialog.h"
#include "model/set_file.h"
#include "model/table_files.h"
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
    static QWidget* control(FormDialog& dialog, int id) { return dialog.controls().widget(id); }
    // What the user sees in the text fields, then OK (id 1038, or 1 where there is none).
    static void closeWithOk(FormDialog& dialog)
    {
        for (const QLineEdit* field : dialog.findChildren<QLineEdit*>())
            EXPECT_FALSE(field->text().contains(QLatin1Char(','))) << field->text();
        static_cast<QAbstractButton*>(control(dialog, control(dialog, 1038) ? 1038 : 1))->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << dialog.windowTitle();
    }
};

TEST_F(CommaLocaleTest, EveryFormClosedWithOkChangesNoByte)
{
    RadioImage& image = session_->image();
    const auto before = encodeSetFile(image);
    {
        // Every channel is stored from what the form shows: by Scan and by ">".
        namespace ids = channel_setting_ids;
        CChannelSettingDlg channel(image, dataDir(), 0);
        EXPECT_EQ(static_cast<QLineEdit*>(control(channel, ids::txFrequency))->text(), "151.62500");
        for (int n = 0; n < image.channelCount(); ++n)
            for (int id : {ids::scan, ids::scan, ids::nextChannel})
                static_cast<QAbstractButton*>(control(channel, id))->click();
        closeWithOk(channel);
    }
    CChannelNameDlg name(image, 0);
    CGeneralSettingDlg general(image, dataDir());
    CCodeFunctionDlg code(image, dataDir());
    CKillFeatureDlg kill(image, dataDir());
    CFactorySettingDlg factory(image, dataDir());
    EXPECT_EQ(static_cast<QLineEdit*>(control(factory, 1009))->text(), "21.4000"); // the IF
    for (FormDialog* dialog :
        std::initializer_list<FormDialog*>{&name, &general, &code, &kill, &factory})
        closeWithOk(*dialog);

    const auto after = encodeSetFile(image);
    const auto changed = std::mismatch(after.begin(), after.end(), before.begin()).first;
    EXPECT_EQ(static_cast<std::size_t>(changed - after.begin()), after.size()) << "a byte changed";
    for (TableFile table :
        {TableFile::Channel, TableFile::Set, TableFile::Factory, TableFile::Kill}) {
        const auto written = testing::fileBytes(dataDir() / tableFileName(table));
        EXPECT_TRUE(std::vector<std::uint8_t>(written.begin(), written.end())
            == tableFileBytes(image, table))
            << tableFileName(table);
    }
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
