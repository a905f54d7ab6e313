// Stage 1 on its own: the mixed file, its percentages, and the cases that leave no music file
// (nothing usable, a cancelled publish).
#include "TestFiles.h"
#include "project/UDataDef.h"
#include "publish/ProgressReceiver.h"
#include "publish/UMixMusic.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct Recorder : TProgressReceiver {
    void PublishProgress(int percent, int stage) override { reports.push_back({percent, stage}); }
    void PublishNotice(const QString &) override {}
    std::vector<std::pair<int, int>> reports;
};

QString Wav(const QString &path, int seconds)
{
    WriteSilentWav(path, seconds);
    return path;
}

class MixMusicTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("LUMIVUE_HOME", home.path().toUtf8()); }
    void TearDown() override { qunsetenv("LUMIVUE_HOME"); }

    void AddMusic(const QString &file, int begin, int end)
    {
        auto audio = std::make_unique<TAudio>();
        audio->SetFileName(file);
        audio->SetBeginTime(begin);
        audio->SetEndTime(end);
        audio->SetbFadeIn(true);
        project.Audios()->Add(std::move(audio));
    }

    QTemporaryDir home;
    TProjItem project;
    Recorder progress;
};

TEST_F(MixMusicTest, MixesEveryUsableFileEndToEnd)
{
    AddMusic(Wav(home.filePath("a.wav"), 6), 1, 5);
    AddMusic(home.filePath("missing.wav"), 0, 30); // left out
    AddMusic(Wav(home.filePath("b.wav"), 6), 0, 6);
    ASSERT_TRUE(MixProjectMusic(project, progress));
    EXPECT_TRUE(QFileInfo(MixedMusicPath()).size() > 0);
    ASSERT_FALSE(progress.reports.empty());
    EXPECT_EQ(progress.reports.front(), std::make_pair(0, PublishStageMusic));
    EXPECT_EQ(progress.reports.back(), std::make_pair(100, 0));

    TMusicMix mix([](int, int) {});
    ASSERT_TRUE(mix.MixMusic(*project.Audios(), home.filePath("again.mp3")));
    EXPECT_EQ(mix.TotalSeconds(), 10);
    EXPECT_EQ(mix.Percent(5), 50);
    EXPECT_EQ(mix.Percent(11), 100);
}

TEST_F(MixMusicTest, NothingUsableOrACancelLeavesNoMusicFile)
{
    AddMusic(home.filePath("missing.wav"), 0, 10);
    EXPECT_TRUE(MixProjectMusic(project, progress));
    EXPECT_FALSE(QFileInfo::exists(MixedMusicPath()));
    EXPECT_TRUE(progress.reports.empty());
    TMusicMix empty([](int, int) {});
    EXPECT_EQ(empty.Percent(3), 0); // no length: no percentage

    AddMusic(Wav(home.filePath("long.wav"), 300), 0, 300);
    project.SetCancelRequested(true);
    EXPECT_FALSE(MixProjectMusic(project, progress));
    EXPECT_FALSE(QFileInfo::exists(MixedMusicPath()));
}

} // namespace
