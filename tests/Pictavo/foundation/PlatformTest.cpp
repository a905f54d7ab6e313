#include "UCommonPart.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Points the program folder at a temporary folder for one test.
struct ProgramFolderFixture : ::testing::Test {
    QTemporaryDir dir;
    QByteArray saved = qgetenv("LUMIVUE_HOME");
    void SetUp() override { qputenv("LUMIVUE_HOME", dir.path().toUtf8()); }
    void TearDown() override
    {
        if (saved.isEmpty())
            qunsetenv("LUMIVUE_HOME");
        else
            qputenv("LUMIVUE_HOME", saved);
    }
};

} // namespace

TEST_F(ProgramFolderFixture, FolderHasTrailingSlashAndNamesResolveWithoutCase)
{
    EXPECT_EQ(ProgramFolder(), dir.path() + u'/');
    WriteTestFile(dir.filePath(QStringLiteral("Res/Images/1.png")), "x");
    EXPECT_EQ(ProgramFile(QStringLiteral("Res/images/1.png")), dir.filePath(QStringLiteral("Res/Images/1.png")));
    EXPECT_EQ(ProgramFile(QStringLiteral("res/IMAGES/")), dir.filePath(QStringLiteral("Res/Images/")));
    EXPECT_EQ(ProgramFile(QStringLiteral("Res/Other/x")), dir.filePath(QStringLiteral("Res/Other/x")));
}

TEST_F(ProgramFolderFixture, ProductLinkKeysCompareWithoutCase)
{
    EXPECT_EQ(ProductTitle(), QStringLiteral("Vexasoft Lumivue"));
    EXPECT_EQ(ReadProductLink(QStringLiteral("Support")), DefaultProductLink()) << "no file";
    WriteTestFile(dir.filePath(QStringLiteral("knilaxev.dat")),
                  "; links\r\n[other]\r\nSupport=wrong\r\n[LINK]\r\nsupport = http://example.org/help \r\n"
                  "support=second\r\n");
    EXPECT_EQ(ReadProductLink(QStringLiteral("Support")), QStringLiteral("http://example.org/help"));
    EXPECT_EQ(ReadProductLink(QStringLiteral("Home")), DefaultProductLink()) << "no key";
}

TEST(IniFile, MissingFileIsEmpty)
{
    const IniFile ini(QStringLiteral("/nonexistent/file.ini"));
    EXPECT_FALSE(ini.contains(QStringLiteral("link"), QStringLiteral("Support")));
    EXPECT_EQ(ini.value(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("d")), QStringLiteral("d"));
}
