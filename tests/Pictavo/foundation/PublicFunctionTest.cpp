#include "project/UPublicFunction.h"
#include "platform/AppError.h"
#include "TestFiles.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <unistd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/stat.h>

namespace {

// The bytes of a literal that holds NULs, without the closing NUL.
template <size_t N>
QByteArray Bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

struct FolderFixture : ::testing::Test {
    QTemporaryDir dir;
    QString path(const QString &relative) const { return dir.filePath(relative); }
};

} // namespace

TEST(ProgramVersion, ReadsOwnRecordAndNothingFromOtherFiles)
{
    EXPECT_EQ(ProgramVersion(QStringLiteral(PICTAVO_EXECUTABLE)),
              QStringLiteral(PROJECT_VERSION_TEXT));
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.bin"));
    // Holds the marker but no closing marker: not a record.
    WriteTestFile(plain, Bytes("xxLumivueVerRc\x02\x00\x02\x00\x03\x00\x9e\x01Nope"));
    EXPECT_EQ(ProgramVersion(plain), QString());
    const QString recorded = dir.filePath(QStringLiteral("recorded.bin"));
    WriteTestFile(recorded, Bytes("..LumivueVerRc\x02\x00\x02\x00\x03\x00\x9e\x01" "End\0.."));
    EXPECT_EQ(ProgramVersion(recorded), QStringLiteral("2.2.3.414"));
    EXPECT_EQ(ProgramVersion(dir.filePath(QStringLiteral("missing"))), QString());
}

TEST_F(FolderFixture, UniqueFileNameNumbersFromTheFirstDot)
{
    const QString wanted = path(QStringLiteral("beach_OutPut.jpeg"));
    EXPECT_EQ(UniqueFileName(wanted, QStringLiteral("beach_OutPut"), QStringLiteral(".jpeg")), wanted);
    WriteTestFile(wanted, "x");
    WriteTestFile(path(QStringLiteral("beach_OutPut(1).jpeg")), "x");
    EXPECT_EQ(UniqueFileName(wanted, QStringLiteral("beach_OutPut"), QStringLiteral(".jpeg")),
              path(QStringLiteral("beach_OutPut(2).jpeg")));

    const QString dotted = path(QStringLiteral("my.photo_OutPut.jpeg"));
    WriteTestFile(dotted, "x");
    EXPECT_EQ(UniqueFileName(dotted, QStringLiteral("my"), QStringLiteral(".jpeg")),
              path(QStringLiteral("my(1).jpeg")));
}

TEST_F(FolderFixture, FileDateTextIsLocal24HourAtTwoSecondResolution)
{
    const QString file = path(QStringLiteral("a.jpg"));
    WriteTestFile(file, "x");
    const auto setTime = [&](const QDateTime &local) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(local, QFileDevice::FileModificationTime));
    };
    setTime(QDateTime(QDate(2009, 6, 30), QTime(14, 5, 9)));
    EXPECT_EQ(FileDateText(file), QStringLiteral("2009-06-30 14:05:08"));
    setTime(QDateTime(QDate(2009, 6, 30), QTime(0, 0, 1)));
    EXPECT_EQ(FileDateText(file), QStringLiteral("2009-06-30"));
    EXPECT_THROW(FileDateText(path(QStringLiteral("missing.jpg"))), AppError);
}

TEST_F(FolderFixture, GetFileSize64)
{
    WriteTestFile(path(QStringLiteral("five")), "12345");
    EXPECT_EQ(GetFileSize64(path(QStringLiteral("five"))), 5);
    EXPECT_EQ(GetFileSize64(path(QStringLiteral("none"))), -1);
}

TEST(IsValidFileName, RejectsEmptyAndTheNineCharacters)
{
    struct Case { const char16_t *name; bool valid; };
    const Case cases[] = {
        {u"my trip.2009", true}, {u"\u00e9t\u00e9\u4e2d", true}, {u"tab\there", true}, {u"", false},
        {u"a\"b", false}, {u"a*b", false}, {u"a/b", false}, {u"a:b", false}, {u"a<b", false},
        {u"a>b", false}, {u"why?", false}, {u"a\\b", false}, {u"a|b", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsValidFileName(QString::fromUtf16(c.name)), c.valid) << QString::fromUtf16(c.name).toStdString();
}

TEST(SecondsToClock, PadsEachFieldAndLeavesHoursOpen)
{
    EXPECT_EQ(SecondsToClock(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(SecondsToClock(3725), QStringLiteral("01:02:05"));
    EXPECT_EQ(SecondsToClock(59), QStringLiteral("00:00:59"));
    EXPECT_EQ(SecondsToClock(360000), QStringLiteral("100:00:00"));
}

TEST_F(FolderFixture, DeleteFolderRemovesNestedTreeButNotLinkTargets)
{
    WriteTestFile(path(QStringLiteral("tree/a.txt")), "a");
    WriteTestFile(path(QStringLiteral("tree/sub/deeper/b.txt")), "b");
    WriteTestFile(path(QStringLiteral("kept/c.txt")), "c");
    ASSERT_EQ(::symlink(qPrintable(path(QStringLiteral("kept"))),
                        qPrintable(path(QStringLiteral("tree/sub/link")))), 0);
    EXPECT_TRUE(DeleteFolder(path(QStringLiteral("tree/"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("tree"))));
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("kept/c.txt"))));
    EXPECT_TRUE(DeleteFolder(path(QStringLiteral("never-there"))));
}

TEST_F(FolderFixture, DeleteFolderRemovesWhatItCan)
{
    WriteTestFile(path(QStringLiteral("tree/locked/x.txt")), "x");
    WriteTestFile(path(QStringLiteral("tree/free.txt")), "y");
    ::chmod(qPrintable(path(QStringLiteral("tree/locked"))), 0500);
    const bool asRoot = ::geteuid() == 0; // root may delete in a read-only folder
    EXPECT_TRUE(DeleteFolder(path(QStringLiteral("tree"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("tree/free.txt"))));
    if (!asRoot) {
        EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("tree/locked/x.txt"))));
    }
    ::chmod(qPrintable(path(QStringLiteral("tree/locked"))), 0700);
}

TEST_F(FolderFixture, CopyFolderCopiesFilesAndFoldersOnly)
{
    WriteTestFile(path(QStringLiteral("src/a.txt")), "a");
    WriteTestFile(path(QStringLiteral("src/sub/deeper/b.txt")), "b");
    WriteTestFile(path(QStringLiteral("dst/a.txt")), "old");
    ASSERT_EQ(::symlink("a.txt", qPrintable(path(QStringLiteral("src/link.txt")))), 0);
    ASSERT_EQ(::mkfifo(qPrintable(path(QStringLiteral("src/fifo"))), 0600), 0);

    CopyFolder(QStringLiteral("  ") + path(QStringLiteral("src")) + QStringLiteral(" "),
               path(QStringLiteral("dst")));
    EXPECT_EQ(ReadTestFile(path(QStringLiteral("dst/a.txt"))), "a");
    EXPECT_EQ(ReadTestFile(path(QStringLiteral("dst/sub/deeper/b.txt"))), "b");
    EXPECT_FALSE(QFileInfo(path(QStringLiteral("dst/link.txt"))).exists());
    EXPECT_FALSE(QFileInfo(path(QStringLiteral("dst/link.txt"))).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("dst/fifo"))));
}

TEST_F(FolderFixture, CopyFolderIntoMissingParentCopiesNothing)
{
    WriteTestFile(path(QStringLiteral("src/a.txt")), "a");
    CopyFolder(path(QStringLiteral("src")), path(QStringLiteral("no/such/dst")));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("no"))));
    CopyFolder(QString(), path(QStringLiteral("dst")));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("dst"))));
}

TEST_F(FolderFixture, CopyFolderIntoItsOwnSubfolderEnds)
{
    WriteTestFile(path(QStringLiteral("src/a.txt")), "a");
    CopyFolder(path(QStringLiteral("src")), path(QStringLiteral("src/copy")));
    EXPECT_EQ(ReadTestFile(path(QStringLiteral("src/copy/a.txt"))), "a");
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("src/copy/copy"))));
}

TEST(IncludeBackslash, AppendsSeparatorOnce)
{
    QString a = QStringLiteral("/tmp/x"), b = QStringLiteral("/tmp/x/"), c;
    IncludeBackslash(a);
    IncludeBackslash(b);
    IncludeBackslash(c);
    EXPECT_EQ(a, QStringLiteral("/tmp/x/"));
    EXPECT_EQ(b, QStringLiteral("/tmp/x/"));
    EXPECT_EQ(c, QStringLiteral("/"));
}

TEST(TakeNumberBeforeDash, TakesOneNumberAtATime)
{
    QString ids = QStringLiteral("4-9-");
    EXPECT_EQ(TakeNumberBeforeDash(ids), 4);
    EXPECT_EQ(ids, QStringLiteral("9-"));
    EXPECT_EQ(TakeNumberBeforeDash(ids), 9);
    EXPECT_EQ(ids, QString());

    for (const char *bad : {"9", "x-1-", "-", " 4-"}) {
        QString text = QString::fromLatin1(bad);
        EXPECT_THROW(TakeNumberBeforeDash(text), AppError) << bad;
        EXPECT_EQ(text, QString::fromLatin1(bad)) << "the text is kept on failure";
    }
}

TEST(Colour, RoundTripsThroughTheStoredForm)
{
    EXPECT_EQ(ColorToRGB(0x0000FF, 0), 0x00FF0000u); // pure red
    uint8_t alpha = 7;
    EXPECT_EQ(RGBToColor(0x00FF0000u, alpha), 0x0000FFu);
    EXPECT_EQ(alpha, 0);
    for (uint32_t color : {0x000000u, 0x123456u, 0xFFFFFFu, 0x00FF00u}) {
        const uint32_t stored = ColorToRGB(color, 0x80);
        EXPECT_EQ(stored >> 24, 0x80u);
        EXPECT_EQ(RGBToColor(stored, alpha), color);
        EXPECT_EQ(alpha, 0x80);
    }
}
