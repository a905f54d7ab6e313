// The stand-alone program, screen saver and web page made from a published movie.
#include "TestFiles.h"
#include "platform/AppError.h"
#include "publish/UOutputFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class OutputFilesTest : public ::testing::Test {
protected:
    QString Make(const QString &name, const QByteArray &bytes)
    {
        WriteTestFile(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    static QByteArray Patterned(int size, char seed)
    {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = char(seed + i * 7);
        return bytes;
    }
    QTemporaryDir dir;
};

TEST_F(OutputFilesTest, ProgramIsPlayerMovieAndTrailer)
{
    const QByteArray player = Patterned(400000, 1);
    const QByteArray movie = Patterned(1000000, 2);
    const QString output = dir.filePath("gallery.exe");
    Make("gallery.exe", "an older program");
    MakeProgram(Make("movie.swf", movie), output, Make("Slideplay.exe", player));
    const QByteArray program = ReadTestFile(output);
    ASSERT_EQ(program.size(), 1400008);
    EXPECT_EQ(program.left(400000), player);
    EXPECT_EQ(program.mid(400000, 1000000), movie);
    EXPECT_EQ(program.right(8), QByteArray::fromHex("563412FA40420F00"));
}

TEST_F(OutputFilesTest, ProgramNeedsPlayerAndMovie)
{
    const QString output = dir.filePath("gallery.exe");
    EXPECT_THROW(MakeProgram(dir.filePath("none.swf"), output, Make("Slideplay.exe", "p")), AppError);
    EXPECT_THROW(MakeProgram(Make("movie.swf", "m"), output, dir.filePath("none.exe")), AppError);
    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST_F(OutputFilesTest, ScreenSaverIsHostMovieBlockAndHostLength)
{
    const QByteArray host = Patterned(300000, 3);
    const QByteArray movie = Patterned(5000, 4);
    const QString output = dir.filePath("trip.scr");
    ASSERT_TRUE(MakeScreenSaver(Make("movie.swf", movie), output, Make("Saverhost.exe", host)));
    const QByteArray saver = ReadTestFile(output);
    ASSERT_EQ(saver.size(), 300000 + 4 + 5000 + 4);
    EXPECT_EQ(saver.left(300000), host);
    EXPECT_EQ(saver.mid(300000, 4), QByteArray::fromHex("00001388"));
    EXPECT_EQ(saver.mid(300004, 5000), movie);
    EXPECT_EQ(saver.right(4), QByteArray::fromHex("E0930400"));

    EXPECT_FALSE(MakeScreenSaver(dir.filePath("movie.swf"), dir.filePath("other.scr"), dir.filePath("none.exe")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("other.scr")));
}

TEST_F(OutputFilesTest, WebPageHasItsTwentySevenLinesAndTheMovieBeside)
{
    const QString movie = Make("TempFlash.swf", "the movie");
    MakeWebPage(movie, dir.filePath("out/trip.html"), 960, 540);
    const QByteArray expected =
        "<html>\r\n"
        "<head>\r\n"
        "<title>\r\n"
        "trip\r\n"
        "</title>\r\n"
        "</head>\r\n"
        "<body bgcolor=\"#FFFFFF\" onload=\"javascript: vexa.focus()\">\r\n"
        "<table width=100% height=100%>\r\n"
        "<tr>\r\n"
        "<td>\r\n"
        "<center>\r\n"
        " <script language=\"javascript\">\r\n"
        "      document.write('<object classid=\"clsid:A763FB1D-703C-40AA-9FFD-4F23ED8D8641\" "
        "codebase=\"http://fpdownload.macromedia.com/pub/shockwave/cabs/flash/swflash.cab#version=9.0.0.0\""
        "width=\" 960\" height=\"540\" ID=\"vexa\" VIEWASTEXT>');  \r\n"
        "      document.write('  <param name=\"movie\" value=\"trip.swf\" />');  \r\n"
        "      document.write('  <param name=\"quality\" value=\"high\" />');  \r\n"
        "      document.write('  <param name=\"wmode\" value=\"window\" />');  \r\n"
        "      document.write('  <param name=\"allowScriptAccess\" value=\"always\" />'); \r\n"
        "      document.write('  <param name=\"allowFullScreen\" value=\"True\" />');  \r\n"
        "      document.write('  <embed src=\"trip.swf\" quality=\"high\" name=\"vexa\" allowScriptAccess=\"always\" "
        "allowFullScreen=\"true\" pluginspage=\"http://www.adobe.com/go/getflashplayer\" "
        "type=\"application/x-shockwave-flash\" width=\"960\" height=\"540\"></embed>');  \r\n"
        "      document.write('</object>');  \r\n"
        "</script> \r\n"
        "</center>\r\n"
        "</td>\r\n"
        "</tr>\r\n"
        "</table>\r\n"
        "</body>\r\n"
        "</html>\r\n";
    EXPECT_EQ(ReadTestFile(dir.filePath("out/trip.html")), expected);
    EXPECT_EQ(ReadTestFile(dir.filePath("out/trip.swf")), "the movie");

    // A page named like its movie would be replaced by it.
    EXPECT_THROW(MakeWebPage(movie, dir.filePath("out/trip.swf"), 960, 540), AppError);
    EXPECT_EQ(ReadTestFile(dir.filePath("out/trip.swf")), "the movie");
}

TEST_F(OutputFilesTest, WebPageNamesAreUtf8)
{
    const QByteArray page = WebPageText(QString::fromUtf8("Fjällräven"), 800, 600);
    EXPECT_TRUE(page.contains("\r\nFj\xC3\xA4llr\xC3\xA4ven\r\n"));
    EXPECT_TRUE(page.contains("value=\"Fj\xC3\xA4llr\xC3\xA4ven.swf\""));
}

} // namespace
