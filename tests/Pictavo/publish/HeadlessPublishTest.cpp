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

#include "VexaCodecs.h"

#include <cmath>
#include <memory>
#include <tuple>
#include <vector>

namespace {

const QString ProgramDir = QStringLiteral(PROGRAM_FOLDER);

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

    // The project and the data pack inside a published 960 × 540 movie.
    void SplitMovie(const QByteArray &movie, TProjItem &project, QByteArray &pack)
    {
        TSWFStreamReader player(home.filePath("libavformat-52.dll"));
        player.SetWidth(960);
        player.SetHeight(540);
        QByteArray sized;
        QBuffer buffer(&sized);
        buffer.open(QIODevice::WriteOnly);
        player.SaveToStream(buffer);
        ASSERT_TRUE(movie.startsWith(sized));
        qint64 at = sized.size();
        ASSERT_EQ(movie.mid(at, 5), "*****");
        const quint32 xmlLength = BigEndianAt(movie, at + 5);
        WriteTestFile(out.filePath("embedded.xml"), movie.mid(at + 9, xmlLength));
        at += 9 + xmlLength;
        pack = movie.mid(at + 4, BigEndianAt(movie, at));
        ASSERT_EQ(at + 4 + pack.size(), movie.size());
        project.LoadFromFile(out.filePath("embedded.xml"));
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
    EXPECT_TRUE(movie.startsWith("CWS"));
    TProjItem project;
    QByteArray pack;
    ASSERT_NO_FATAL_FAILURE(SplitMovie(movie, project, pack));
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

// Stage 1: two music files with clips of 10 s and 20 s and fades, mixed end to end into the
// movie's music block.
TEST_F(HeadlessPublishTest, MusicIsMixedIntoTheMovie)
{
    const auto tone = [&](const QString &name, int seconds) {
        QByteArray samples;
        for (int i = 0; i < 8000 * seconds; ++i) {
            const auto s = qint16(10000 * std::sin(2 * M_PI * 440 * i / 8000));
            samples.append(reinterpret_cast<const char *>(&s), 2);
        }
        QByteArray wav("RIFF");
        const auto put = [&](quint32 v, int bytes) { wav.append(reinterpret_cast<const char *>(&v), bytes); };
        put(36 + samples.size(), 4);
        wav.append("WAVEfmt ");
        // PCM, mono, 8000 Hz, 16000 bytes per second, 2 bytes per frame, 16 bits.
        const std::pair<quint32, int> format[] = {{16, 4}, {1, 2}, {1, 2}, {8000, 4}, {16000, 4}, {2, 2}, {16, 2}};
        for (const auto &[v, bytes] : format)
            put(v, bytes);
        wav.append("data");
        put(samples.size(), 4);
        WriteTestFile(out.filePath(name), wav + samples);
        return out.filePath(name);
    };
    QString audios = "<Audios>";
    int id = 100;
    const std::tuple<QString, int, int> clips[] = {{tone("first.wav", 12), 1, 11}, {tone("second.wav", 21), 0, 20}};
    for (const auto &[file, begin, end] : clips)
        audios += QString("<TAudio><ID>%1</ID><FileName>%2</FileName><BeginTime>%3</BeginTime><EndTime>%4</EndTime>"
                          "<Length>21</Length><bFadeIn>True</bFadeIn><FadeOut>True</FadeOut></TAudio>")
                      .arg(id++).arg(file).arg(begin).arg(end);
    QByteArray document = ReadTestFile(ProgramDir + "/Sample/sample.vlpj");
    ASSERT_TRUE(document.contains("<Audios />"));
    document.replace("<Audios />", (audios + "</Audios>").toUtf8());
    WriteTestFile(out.filePath("music.vlpj"), document);

    const QString path = out.filePath("music.swf");
    ASSERT_EQ(Run(PICTAVO_EXECUTABLE, {"--publish", out.filePath("music.vlpj"), "--kind", "swf", "--output", path}), 0)
        << errors.toStdString();
    EXPECT_TRUE(output.contains("(1/3)  ")) << output.toStdString();
    EXPECT_LT(output.indexOf("(1/3)  "), output.indexOf("(2/3)  "));
    TProjItem project;
    QByteArray pack;
    ASSERT_NO_FATAL_FAILURE(SplitMovie(ReadTestFile(path), project, pack));
    const TSeting &seting = *project.Seting();
    ASSERT_TRUE(seting.UseMusic());
    ASSERT_EQ(BigEndianAt(pack, seting.MD5O()), quint32(seting.CRTS()));
    WriteTestFile(out.filePath("music.mp3"), pack.mid(seting.MD5O() + 4, seting.CRTS()));

    VexaInitializeCodecs(nullptr);
    FileFormatInfo *info = nullptr;
    VexaMallocFileFormatInfo(&info);
    MediaDecoder *decoder = VexaLoadMediaFile(reinterpret_cast<const char16_t *>(out.filePath("music.mp3").utf16()), info);
    ASSERT_NE(decoder, nullptr);
    VexaResample(44100, 16, 2, decoder);
    std::vector<qint16> samples;
    auto frame = std::make_unique<AudioFrame>();
    while (VexaGetNextAudioFrame(frame.get(), decoder)) {
        const auto *data = reinterpret_cast<const qint16 *>(frame->data);
        samples.insert(samples.end(), data, data + frame->size / 2);
    }
    VexaUnloadMediaFile(decoder);
    VexaFreeFileFormatInfo(info);
    EXPECT_NEAR(samples.size() / 88200.0, 30.0, 0.2);
    const auto rms = [&](double from, double to) {
        double sum = 0;
        const size_t a = size_t(from * 88200), b = std::min(samples.size(), size_t(to * 88200));
        for (size_t i = a; i < b; ++i)
            sum += double(samples[i]) * samples[i];
        return std::sqrt(sum / double(std::max<size_t>(b - a, 1)));
    };
    // The fade-in starts from silence and reaches the full level after 3 s.
    EXPECT_LT(rms(0, 0.05), 0.05 * rms(5, 6));
    EXPECT_GT(rms(5, 6), 3000);
    EXPECT_NEAR(rms(1.4, 1.6) / rms(5, 6), 0.5, 0.08);
    EXPECT_FALSE(QFileInfo::exists(home.filePath("Temp")));
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
