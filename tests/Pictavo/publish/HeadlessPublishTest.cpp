// The headless publish command on the bundled sample project, run as a separate process on a
// copy of the program folder.
#include "MovieFixtures.h"
#include "TestFiles.h"
#include "project/UDataDef.h"
#include "publish/SWFStreamReader.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString ProgramDir = QStringLiteral(PROGRAM_FOLDER);

quint32 BigEndianAt(const QByteArray &bytes, qint64 at)
{
    return quint32(quint8(bytes[at])) << 24 | quint8(bytes[at + 1]) << 16 | quint8(bytes[at + 2]) << 8 |
           quint8(bytes[at + 3]);
}

class HeadlessPublishTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char *name : {"Res/BaseFlash.swf", "Res/TemplateXML.xml", "libavcodec-52.dll", "libavformat-52.dll",
                                 "Slideplay.exe", "Saverhost.exe", "language/language.xml"}) {
            QDir().mkpath(QFileInfo(home.filePath(name)).absolutePath());
            ASSERT_TRUE(QFile::copy(ProgramDir + "/" + name, home.filePath(name))) << name;
        }
    }

    int Run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LUMIVUE_HOME", home.path());
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        if (!process.waitForFinished(120000))
            return -1;
        output = process.readAllStandardOutput();
        errors = process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    int Publish(const QString &kind, const QString &output)
    {
        return Run(PICTAVO_EXECUTABLE, {"--publish", ProgramDir + "/Sample/sample.vlpj", "--kind", kind, "--output", output});
    }

    QTemporaryDir home, out;
    QByteArray output, errors;
};

TEST_F(HeadlessPublishTest, SampleMovieHoldsPlayerXmlAndPack)
{
    const QString path = out.filePath("sample.swf");
    ASSERT_EQ(Publish("swf", path), 0) << errors.toStdString();
    EXPECT_TRUE(output.contains("(2/3)  ")) << output.toStdString();
    EXPECT_TRUE(output.contains("(3/3)  "));
    const QByteArray movie = ReadTestFile(path);

    TSWFStreamReader player(home.filePath("libavformat-52.dll"));
    player.SetWidth(960);
    player.SetHeight(540);
    QByteArray sized;
    QBuffer buffer(&sized);
    buffer.open(QIODevice::WriteOnly);
    player.SaveToStream(buffer);
    ASSERT_TRUE(movie.startsWith(sized));
    EXPECT_TRUE(movie.startsWith("CWS"));
    qint64 at = sized.size();
    ASSERT_EQ(movie.mid(at, 5), "*****");
    const quint32 xmlLength = BigEndianAt(movie, at + 5);
    WriteTestFile(out.filePath("embedded.xml"), movie.mid(at + 9, xmlLength));
    at += 9 + xmlLength;
    const QByteArray pack = movie.mid(at + 4, BigEndianAt(movie, at));
    ASSERT_EQ(at + 4 + pack.size(), movie.size());

    TProjItem project;
    project.LoadFromFile(out.filePath("embedded.xml"));
    const TTemplate &templ = *project.Template();
    const QByteArray templates = ReadTestFile(home.filePath("libavcodec-52.dll"));
    EXPECT_EQ(pack.mid(templ.MD5O(), 4 + templ.CRTS()), templates.mid(templ.SelectOffset(), 4 + templ.SelectSize()));
    ASSERT_TRUE(templ.UseBgImage());
    EXPECT_EQ(BigEndianAt(pack, templ.ImgOffset()), templ.ImgSize());
    EXPECT_EQ(pack.mid(templ.ImgOffset() + 4, templ.ImgSize()), ReadTestFile(templ.ThumbImg()));
    ASSERT_EQ(project.Images()->Count(), 6);
    for (int i = 0; i < project.Images()->Count(); ++i) {
        const TImageObj &photo = *project.Images()->Items(i);
        ASSERT_EQ(BigEndianAt(pack, photo.MD5O()), quint32(photo.CRTS()));
        QByteArray data = pack.mid(photo.MD5O() + 4, photo.CRTS());
        QBuffer image(&data);
        EXPECT_EQ(QImageReader(&image, "jpeg").size(), QSize(720, 540)) << "photo " << i;
    }
    EXPECT_EQ(QFileInfo(project.Images()->Items(2)->OutFile()).fileName(), "beach_OutPut(1).jpeg");
    // The run's work files are gone.
    EXPECT_FALSE(QFileInfo::exists(home.filePath("Temp")));
    EXPECT_TRUE(QDir(home.filePath("TempImg")).isEmpty(QDir::Files | QDir::Hidden));
}

TEST_F(HeadlessPublishTest, EveryKindCarriesTheSameMovie)
{
    ASSERT_EQ(Publish("swf", out.filePath("movie/sample.swf")), 0) << errors.toStdString();
    const QByteArray movie = ReadTestFile(out.filePath("movie/sample.swf"));

    ASSERT_EQ(Publish("exe", out.filePath("sample.exe")), 0) << errors.toStdString();
    EXPECT_TRUE(QFileInfo(out.filePath("sample.exe")).isExecutable());
    ASSERT_EQ(Run(out.filePath("sample.exe"), {"--extract", out.filePath("from-exe.swf")}), 0) << errors.toStdString();
    EXPECT_TRUE(ReadTestFile(out.filePath("from-exe.swf")) == movie);

    ASSERT_EQ(Publish("scr", out.filePath("sample.scr")), 0) << errors.toStdString();
    ASSERT_EQ(Run(out.filePath("sample.scr"), {"--extract", out.filePath("from-scr.swf")}), 0) << errors.toStdString();
    EXPECT_TRUE(ReadTestFile(out.filePath("from-scr.swf")) == movie);

    ASSERT_EQ(Publish("html", out.filePath("page/trip.html")), 0) << errors.toStdString();
    EXPECT_TRUE(ReadTestFile(out.filePath("page/trip.html")).contains("width=\" 960\" height=\"540\""));
    EXPECT_TRUE(ReadTestFile(out.filePath("page/trip.swf")) == movie);

    // The stand-ins without a movie say so.
    EXPECT_EQ(Run(home.filePath("Slideplay.exe"), {}), 1);
    EXPECT_TRUE(errors.contains("no gallery movie")) << errors.toStdString();
}

TEST_F(HeadlessPublishTest, FailuresLeaveNoOutput)
{
    const QString path = out.filePath("kept.swf");
    WriteTestFile(path, "an earlier gallery");
    EXPECT_EQ(Run(PICTAVO_EXECUTABLE, {"--publish", out.filePath("none.vlpj"), "--kind", "swf", "--output", path}), 1);
    EXPECT_TRUE(errors.contains("File Not Found")) << errors.toStdString();
    QFile::remove(home.filePath("libavcodec-52.dll"));
    EXPECT_EQ(Publish("swf", path), 1);
    EXPECT_TRUE(errors.contains("publishing failed")) << errors.toStdString();
    EXPECT_EQ(ReadTestFile(path), "an earlier gallery");
    EXPECT_EQ(Publish("gif", path), 2);
    EXPECT_EQ(Run(PICTAVO_EXECUTABLE, {"--publish", ProgramDir + "/Sample/sample.vlpj", "--kind", "swf", "--output", path,
                                       "--size", "0x100"}),
              2);
    EXPECT_EQ(ReadTestFile(path), "an earlier gallery");
}

} // namespace
