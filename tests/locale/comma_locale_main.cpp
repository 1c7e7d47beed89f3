// Entry point of the comma-locale suite: builds de_DE.UTF-8 once into the build tree, switches
// the process to it and creates the QApplication, which calls setlocale(LC_ALL, "") as it does
// for every user. The suite refuses to run when the locale did not take: passing without a
// comma locale would prove nothing.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr const char* kLocale = "de_DE.UTF-8";

// localedef takes seconds: the first run builds the locale beside its final place and renames
// it there, so parallel test processes never see half of one.
void buildLocaleOnce(const QString& dir)
{
    const QString target = dir + QLatin1Char('/') + QLatin1String(kLocale);
    if (QFileInfo::exists(target + QStringLiteral("/LC_NUMERIC")))
        return;
    QDir().mkpath(dir);
    QTemporaryDir building(dir + QStringLiteral("/building-XXXXXX"));
    const QString made = building.filePath(QLatin1String(kLocale));
    const QByteArray command = "localedef -i de_DE -f UTF-8 '" + made.toLocal8Bit() + "'";
    if (std::system(command.constData()) != 0 && !QFileInfo::exists(made + "/LC_NUMERIC"))
        return;
    QDir().rename(made, target);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid()) {
        QFile::setPermissions(
            runtimeDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    }
    ::testing::InitGoogleTest(&argc, argv);
    if (!::testing::GTEST_FLAG(list_tests)) {
        buildLocaleOnce(QStringLiteral(KQ904_LOCALE_DIR));
        qputenv("LOCPATH", KQ904_LOCALE_DIR);
        qputenv("LC_ALL", kLocale);
    }
    QApplication app(argc, argv);
    if (!::testing::GTEST_FLAG(list_tests)
        && std::strcmp(std::localeconv()->decimal_point, ",") != 0) {
        std::fprintf(stderr,
            "the comma locale %s could not be built in %s: localedef needs the Debian package "
            "'locales'\n",
            kLocale, KQ904_LOCALE_DIR);
        return 1;
    }
    return RUN_ALL_TESTS();
}
