// The suite's main: builds de_DE.UTF-8 with localedef once into the build tree (beside its
// place, then renamed, so parallel runs never see half of it) and switches to it before the
// QApplication calls setlocale(LC_ALL, ""), as for every user. Without a comma the suite
// fails: passing in the C locale would prove nothing.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    const QString locale = QStringLiteral(LOCALE_DIR "/de_DE.UTF-8");
    if (!::testing::GTEST_FLAG(list_tests) && !QFile::exists(locale + "/LC_NUMERIC")) {
        QDir().mkpath(QStringLiteral(LOCALE_DIR));
        QTemporaryDir building(QStringLiteral(LOCALE_DIR "/building-XXXXXX"));
        const QString made = building.filePath(QStringLiteral("de_DE.UTF-8"));
        (void)std::system(("localedef -i de_DE -f UTF-8 '" + made + "'").toLocal8Bit().constData());
        QDir().rename(made, locale);
    }
    qputenv("LOCPATH", LOCALE_DIR);
    qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication app(argc, argv);
    if (!::testing::GTEST_FLAG(list_tests) && *std::localeconv()->decimal_point != ',') {
        std::fputs(
            "no comma locale in " LOCALE_DIR ": localedef needs the package locales\n", stderr);
        return 1;
    }
    return RUN_ALL_TESTS();
}
