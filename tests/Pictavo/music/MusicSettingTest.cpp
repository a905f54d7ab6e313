#include "../dialogs/DialogFixture.h"
#include "UCommonPart.h"
#include "UPhotoList.h"
#include "music/UMusicSetting.h"
#include "music/VexaTrackBar.h"

#include <QCheckBox>
#include <QDataStream>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QToolButton>
#include <QTreeWidget>
#include <cmath>
#include <functional>

namespace {

// A mono 8 kHz sine of `seconds` as 16-bit PCM WAV.
QByteArray WavBytes(int seconds)
{
    const int rate = 8000;
    const quint32 samples = quint32(rate * seconds);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(8000 * std::sin(2 * M_PI * 440 * i / rate));
    return bytes;
}

// Lets queued events (the mixer's notifications) run until `done` holds or `ms` have passed.
bool RunUntil(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

void RunFor(int ms)
{
    RunUntil([] { return false; }, ms);
}

class MusicSettingTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        qputenv("SDL_AUDIODRIVER", "dummy");
    }
    void TearDown() override
    {
        dialog.reset();
        ShellTest::TearDown();
    }

    QString MakeWav(const QString &name, int seconds)
    {
        const QString path = TestDir() + name;
        WriteTestFile(path, WavBytes(seconds));
        return path;
    }

    // A music item as the add step makes it, without touching a file.
    TAudio &AddAudio(const QString &file, qint64 length, qint64 begin, qint64 end, bool fadeIn = true,
                     bool fadeOut = true)
    {
        auto audio = std::make_unique<TAudio>();
        audio->SetID(NextObjectId());
        audio->SetFileName(file);
        audio->SetLength(length);
        audio->SetBeginTime(begin);
        audio->SetEndTime(end);
        audio->SetbFadeIn(fadeIn);
        audio->SetFadeOut(fadeOut);
        TAudio &kept = *audio;
        project.Audios()->Add(std::move(audio));
        return kept;
    }

    TFrmMusicSet &Open()
    {
        dialog = std::make_unique<TFrmMusicSet>(nullptr, project);
        dialog->show();
        QCoreApplication::processEvents();
        return *dialog;
    }

    void Select(int row)
    {
        dialog->FileList->setCurrentItem(dialog->FileList->topLevelItem(row));
    }
    QString RowText(int row, int column) const { return dialog->FileList->topLevelItem(row)->text(column); }

    TProjItem project;
    std::unique_ptr<TFrmMusicSet> dialog;
};

TEST_F(MusicSettingTest, ChooserOpensAtOnceOnlyForAProjectWithoutMusic)
{
    Open();
    ASSERT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(prompts.dialogs[0].filter, TFrmMusicSet::MusicFileFilter);
    EXPECT_TRUE(prompts.dialogs[0].multiSelect);
    EXPECT_FALSE(dialog->BtnPlay->isEnabled()) << "cancelled: no rows, no item buttons";

    AddAudio(QStringLiteral("/music/a.mp3"), 100, 0, 100);
    Open();
    EXPECT_EQ(prompts.dialogs.size(), 1u);
    EXPECT_EQ(dialog->FileList->currentItem(), dialog->FileList->topLevelItem(0));
    EXPECT_EQ(dialog->FileList->columnWidth(2), 105);
}

TEST_F(MusicSettingTest, AddsReadableFilesAndNamesTheOthersInOneMessage)
{
    const QString first = MakeWav(QStringLiteral("first.wav"), 12);
    const QString broken = TestDir() + QStringLiteral("broken.mp3");
    WriteTestFile(broken, QByteArray(4096, 'x'));
    const QString second = MakeWav(QStringLiteral("second.wav"), 7);
    const QString missing = TestDir() + QStringLiteral("gone.wav");
    prompts.files.push_back({first, broken, second, missing});
    Open();

    ASSERT_EQ(project.Audios()->Count(), 2);
    const TAudio &a = *project.Audios()->Items(0);
    const TAudio &b = *project.Audios()->Items(1);
    EXPECT_EQ(a.FileName(), first);
    EXPECT_EQ(b.FileName(), second);
    EXPECT_EQ(std::tuple(a.BeginTime(), a.EndTime(), a.Length()), std::tuple(0, 12, 12));
    EXPECT_EQ(std::tuple(b.BeginTime(), b.EndTime(), b.Length()), std::tuple(0, 7, 7));
    EXPECT_LT(a.ID(), b.ID());
    EXPECT_EQ(b.ID(), NextObjectId() - 1) << "IDs come from the counter shared with photos";
    EXPECT_FALSE(a.bFadeIn() || a.FadeOut());

    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0], LangText(QStringLiteral("msg_the_follow")) + "\n\nbroken.mp3,gone.wav");
    EXPECT_EQ(prompts.captions[0], ProductTitle());

    EXPECT_EQ(dialog->FileList->topLevelItemCount(), 2);
    EXPECT_EQ(RowText(0, 0), first);
    EXPECT_EQ(RowText(0, 2), QStringLiteral("00:00:12"));
    EXPECT_EQ(dialog->FileList->currentItem(), dialog->FileList->topLevelItem(0));
    EXPECT_EQ(dialog->atbClip->Max(), 12);
    EXPECT_EQ(dialog->LabTime->text(), LangText(QStringLiteral("frm_addmusic_total")) + " 00:00:19");
    EXPECT_FALSE(dialog->BtnReset->isEnabled()) << "an untrimmed file has nothing to reset";
}

TEST_F(MusicSettingTest, SelectingARowSetsTheTrackBarWithoutWritingBack)
{
    AddAudio(QStringLiteral("/music/a.mp3"), 100, 10, 50, false, true);
    // Its clip begins after the first one's end, which the begin marker must not be clamped to.
    AddAudio(QStringLiteral("/music/b.mp3"), 200, 80, 120, true, false);
    Open();
    project.SetModified(false);
    Select(1);
    const TVexaTrackBar &bar = *dialog->atbClip;
    EXPECT_EQ(std::tuple(bar.Max(), bar.StartPos(), bar.EndPos(), bar.Position()), std::tuple(200, 80, 120, 80));
    EXPECT_TRUE(dialog->ChkFadeIn->isChecked());
    EXPECT_FALSE(dialog->ChkFadeOut->isChecked());
    EXPECT_EQ(dialog->LabTotal->text(), QStringLiteral("00:03:20"));
    Select(0);
    EXPECT_EQ(std::tuple(bar.Max(), bar.StartPos(), bar.EndPos()), std::tuple(100, 10, 50));
    EXPECT_FALSE(dialog->ChkFadeIn->isChecked());

    const TAudio &b = *project.Audios()->Items(1);
    EXPECT_EQ(std::tuple(b.BeginTime(), b.EndTime(), b.bFadeIn(), b.FadeOut()), std::tuple(80, 120, true, false));
    EXPECT_FALSE(project.Modified());
    EXPECT_TRUE(dialog->BtnReset->isEnabled());
    EXPECT_FALSE(dialog->BtnUp->isEnabled());
    EXPECT_TRUE(dialog->BtnDown->isEnabled());
}

TEST_F(MusicSettingTest, TrimmingFadesAndReset)
{
    AddAudio(QStringLiteral("/music/a.mp3"), 100, 0, 100);
    AddAudio(QStringLiteral("/music/b.mp3"), 30, 0, 30);
    Open();
    TAudio &a = *project.Audios()->Items(0);
    TVexaTrackBar &bar = *dialog->atbClip;
    EXPECT_FALSE(dialog->BtnReset->isEnabled());

    bar.SetEndPos(70);
    bar.SetStartPos(500); // past the end marker: stops there
    EXPECT_EQ(std::tuple(a.BeginTime(), a.EndTime()), std::tuple(70, 70));
    bar.SetStartPos(25);
    EXPECT_EQ(RowText(0, 1), QStringLiteral("00:00:25"));
    EXPECT_EQ(RowText(0, 2), QStringLiteral("00:01:10"));
    EXPECT_TRUE(dialog->BtnReset->isEnabled());
    EXPECT_EQ(dialog->LabTime->text(), LangText(QStringLiteral("frm_addmusic_total")) + " 00:01:15");

    dialog->ChkFadeOut->setChecked(false);
    EXPECT_TRUE(a.bFadeIn());
    EXPECT_FALSE(a.FadeOut());
    dialog->ChkMusicLoop->setChecked(false);
    EXPECT_FALSE(project.Seting()->MusicLoop());

    dialog->BtnResetClick();
    EXPECT_EQ(std::tuple(a.BeginTime(), a.EndTime(), bar.StartPos(), bar.EndPos()), std::tuple(0, 100, 0, 100));
    EXPECT_EQ(RowText(0, 1), QStringLiteral("00:00:00"));
    EXPECT_EQ(RowText(0, 2), QStringLiteral("00:01:40"));
    EXPECT_FALSE(dialog->BtnReset->isEnabled());
    EXPECT_EQ(dialog->LabTime->text(), LangText(QStringLiteral("frm_addmusic_total")) + " 00:02:10");
    bar.SetEndPos(99);
    EXPECT_TRUE(dialog->BtnReset->isEnabled());
}

TEST_F(MusicSettingTest, MovingAndRemovingKeepRowsItemsAndEndColumnInStep)
{
    for (int i = 0; i < 9; ++i)
        AddAudio(QStringLiteral("/music/%1.mp3").arg(i), 60 + i, 0, 60 + i);
    prompts.files.push_back({MakeWav(QStringLiteral("tenth.wav"), 3)});
    Open();
    EXPECT_EQ(dialog->FileList->columnWidth(2), 105);
    dialog->BtnAddClick();
    ASSERT_EQ(dialog->FileList->topLevelItemCount(), 10);
    EXPECT_EQ(dialog->FileList->columnWidth(2), 85);

    Select(1);
    dialog->BtnUpClick();
    EXPECT_EQ(project.Audios()->Items(0)->FileName(), QStringLiteral("/music/1.mp3"));
    EXPECT_EQ(RowText(0, 0), QStringLiteral("/music/1.mp3"));
    EXPECT_EQ(dialog->atbClip->Max(), 61) << "the moved row stays selected";
    EXPECT_FALSE(dialog->BtnUp->isEnabled());
    dialog->BtnDownClick();
    EXPECT_EQ(RowText(1, 0), QStringLiteral("/music/1.mp3"));
    EXPECT_EQ(project.Audios()->Items(1)->FileName(), QStringLiteral("/music/1.mp3"));

    Select(9);
    dialog->BtnDelClick();
    EXPECT_EQ(project.Audios()->Count(), 9);
    EXPECT_EQ(dialog->FileList->columnWidth(2), 105);
    EXPECT_EQ(dialog->FileList->currentItem(), dialog->FileList->topLevelItem(8)) << "the last row";
    EXPECT_FALSE(dialog->BtnDown->isEnabled());
    Select(3);
    dialog->BtnDelClick();
    EXPECT_EQ(RowText(3, 0), QStringLiteral("/music/4.mp3")) << "the row after takes its place";
    EXPECT_EQ(project.Audios()->Items(3)->FileName(), QStringLiteral("/music/4.mp3"));
    EXPECT_EQ(dialog->atbClip->Max(), 64);

    for (int left = 8; left > 0; --left)
        dialog->BtnDelClick();
    EXPECT_EQ(project.Audios()->Count(), 0);
    EXPECT_FALSE(dialog->BtnDel->isEnabled() || dialog->BtnPlay->isEnabled());
    EXPECT_EQ(dialog->LabTotal->text(), QStringLiteral("00:00:00"));
}

TEST_F(MusicSettingTest, PlayPausePlayResumesAndPlayAfterStopStartsAtTheBegin)
{
    AddAudio(MakeWav(QStringLiteral("long.wav"), 30), 30, 5, 30);
    Open();
    const TVexaTrackBar &bar = *dialog->atbClip;

    dialog->BtnPlayClick();
    EXPECT_FALSE(dialog->BtnPlay->isEnabled());
    EXPECT_TRUE(dialog->BtnPause->isEnabled() && dialog->BtnStop->isEnabled());
    ASSERT_TRUE(RunUntil([&] { return bar.Position() >= 6; }, 5000)) << "playback starts at 5 s";
    EXPECT_EQ(dialog->LabCur->text(), QStringLiteral("00:00:06 /"));

    dialog->BtnPauseClick();
    EXPECT_TRUE(dialog->Paused());
    RunFor(300);
    const qint64 paused = bar.Position();
    RunFor(1200);
    EXPECT_EQ(bar.Position(), paused) << "no progress while paused";

    dialog->BtnPlayClick();
    RunFor(400);
    EXPECT_GE(bar.Position(), paused) << "resumed, not restarted at the begin";
    EXPECT_LE(bar.Position(), paused + 1);

    dialog->BtnStopClick();
    EXPECT_EQ(bar.Position(), 5);
    EXPECT_FALSE(dialog->Paused());
    EXPECT_TRUE(dialog->BtnPlay->isEnabled());
    EXPECT_FALSE(dialog->BtnPause->isEnabled() || dialog->BtnStop->isEnabled());
    dialog->BtnPlayClick();
    RunFor(400);
    EXPECT_EQ(bar.Position(), 5) << "played again from the begin time";
    dialog->BtnStopClick();
}

TEST_F(MusicSettingTest, TheEndOfPlaybackStopsThePreview)
{
    AddAudio(MakeWav(QStringLiteral("short.wav"), 1), 1, 0, 1);
    Open();
    dialog->BtnPlayClick();
    ASSERT_FALSE(dialog->BtnPlay->isEnabled());
    EXPECT_TRUE(RunUntil([&] { return dialog->BtnPlay->isEnabled(); }, 5000));
    EXPECT_FALSE(dialog->BtnStop->isEnabled());
}

TEST_F(MusicSettingTest, AddMusicCommandOpensTheDialogOnTheWindowsProject)
{
    TFrmmain &main = OpenWindow();
    main.SetFeatures(std::make_unique<TMainFeatures>());
    prompts.files.push_back({MakeWav(QStringLiteral("a.wav"), 2)});
    bool shown = false;
    WhenShown<TFrmMusicSet>([&](TFrmMusicSet &shownDialog) {
        shown = true;
        shownDialog.BtnOk->click();
    });
    Command(QStringLiteral("AddMusic"));
    EXPECT_TRUE(shown);
    EXPECT_EQ(main.Project().Audios()->Count(), 1);
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(u'|').toStdString();
}

} // namespace
