// Assembling files from a base copy and appended blocks.
#include "TestFiles.h"
#include "platform/AppError.h"
#include "publish/UWriteFile.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class WriteFileTest : public ::testing::Test {
protected:
    QString Make(const QString &name, const QByteArray &bytes)
    {
        WriteTestFile(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    QTemporaryDir dir;
};

TEST_F(WriteFileTest, BlocksAreLengthPrefixedAndReportTheirPlace)
{
    const QByteArray base(12345, 'b');
    const QByteArray photo(70000, 'p');
    const QString target = dir.filePath("pack.dat");
    {
        TWriteFile pack(Make("base.swf", base), target);
        const TBlockPlace first = pack.AppendFile(Make("photo.jpeg", photo));
        EXPECT_EQ(first.Length, 70000u);
        EXPECT_EQ(first.Offset, 12345u);
        const TBlockPlace empty = pack.AppendFile(Make("empty.jpeg", {}));
        EXPECT_EQ(empty.Length, 0u);
        EXPECT_EQ(empty.Offset, 12345u + 4 + 70000);
        pack.AppendMarker();
        QByteArray source("0123456789");
        QBuffer range(&source);
        range.open(QIODevice::ReadOnly);
        const TBlockPlace copied = pack.AppendRange(range, 4, 3);
        EXPECT_EQ(copied.Length, 4u);
        EXPECT_EQ(copied.Offset, 12345u + 4 + 70000 + 4 + 5);
        pack.WriteInt32(0xABCD);
        pack.Commit();
    }
    const QByteArray expected = base + QByteArray::fromHex("00011170") + photo + QByteArray(4, '\0') + "*****" +
                                "3456" + QByteArray::fromHex("CDAB0000");
    EXPECT_EQ(ReadTestFile(target), expected);
}

TEST_F(WriteFileTest, MissingFilesRaiseFileNotFound)
{
    const QString missing = dir.filePath("nothing.swf");
    try {
        TWriteFile pack(missing, dir.filePath("pack.dat"));
        FAIL() << "a missing source must raise";
    } catch (const AppError &error) {
        EXPECT_EQ(error.message(), "File Not Found " + missing);
    }
    TWriteFile pack(Make("base.swf", "base"), dir.filePath("pack.dat"));
    try {
        pack.AppendFile(missing);
        FAIL() << "a missing block file must raise";
    } catch (const AppError &error) {
        EXPECT_EQ(error.message(), "File Not Found " + missing);
    }
}

TEST_F(WriteFileTest, TargetAppearsOnlyWhenCommitted)
{
    const QString target = dir.filePath("new/deeper/out.swf"); // the folders are made
    const QString old = Make("old.swf", "the previous output");
    QFile::setPermissions(old, QFileDevice::ReadOwner);
    {
        TWriteFile unfinished(Make("base.swf", "base"), old);
        unfinished.AppendMarker();
    } // released without Commit, as when a publish fails
    EXPECT_EQ(ReadTestFile(old), "the previous output");
    {
        TWriteFile finished(dir.filePath("base.swf"), old);
        finished.Commit();
        TWriteFile other(dir.filePath("base.swf"), target);
        other.Commit();
    }
    EXPECT_EQ(ReadTestFile(old), "base"); // a read-only target is replaced and writable
    EXPECT_TRUE(QFileInfo(old).isWritable());
    EXPECT_EQ(ReadTestFile(target), "base");
    QDir folder(dir.path());
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden).size(), 2) << "no partial files are left";
}

TEST_F(WriteFileTest, BlocksThatWouldReachFourGibibytesAreRefused)
{
    const QString huge = dir.filePath("huge.bin");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(0x100000000LL - 10)); // sparse: no disk space used
    file.close();
    TWriteFile pack(Make("base.swf", "0123456789"), dir.filePath("pack.dat"));
    try {
        pack.AppendFile(huge);
        FAIL() << "offsets past 4 GiB must be refused";
    } catch (const AppError &error) {
        EXPECT_TRUE(error.message().contains("4 GiB")) << error.message().toStdString();
    }
}

} // namespace
