// Components and elements: adding by path and by record, ids, the element limit, updates that
// are refused, lengths taken from the file, the mix length and null handles.

#include "MixTestSupport.h"

#include <cstring>

using namespace mixtest;

namespace {

std::filesystem::path ShortWav()
{
    static const std::filesystem::path path = WriteWav("short.wav", 8000, 1, Pattern(8000 * 2));
    return path;
}

} // namespace

TEST(Elements, AddedByPathPlaysTheWholeFileFromTimeZero)
{
    Component c = NewComponent();
    ASSERT_TRUE(c);
    const MusicElement *e = Add(c.get(), ShortWav());
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(std::u16string(e->path), ShortWav().u16string());
    EXPECT_EQ(e->length, 2 * Second);
    EXPECT_EQ(e->clipLength, 2 * Second);
    EXPECT_EQ(e->clipStart, 0);
    EXPECT_EQ(e->start, 0);
    EXPECT_EQ(e->clipEnabled, 0);
    EXPECT_EQ(e->volume, 100);
    EXPECT_EQ(e->fadeIn + e->fadeOut, 0);
    EXPECT_EQ(VexaGetMixAudioLength(c.get()), 2 * Second);
}

TEST(Elements, LengthIsTheStreamsWholeSeconds)
{
    // 200.7 s at a low rate keeps the file small.
    const auto path = WriteWav("long.wav", 1000, 1, std::vector<int16_t>(200700, 100));
    Component c = NewComponent();
    const MusicElement *e = Add(c.get(), path);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->length, 200 * Second);
}

TEST(Elements, FilesWithoutAudioAreRefused)
{
    const auto text = ScratchFolder() / "notes.txt";
    std::ofstream(text) << "not a music file\n";
    Component c = NewComponent();
    EXPECT_EQ(Add(c.get(), text), nullptr);
    EXPECT_EQ(Add(c.get(), ScratchFolder() / "missing.wav"), nullptr);
    EXPECT_FALSE(VexaAddMusicElementEx(nullptr, c.get())); // all zeros: no path
    EXPECT_EQ(VexaGetMixAudioLength(c.get()), 0);
}

TEST(Elements, IdsCountUpAndAreNeverReused)
{
    Component c = NewComponent();
    const MusicElement *a = Add(c.get(), ShortWav());
    const MusicElement *b = Add(c.get(), ShortWav());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->id, 0);
    EXPECT_EQ(b->id, 1);
    VexaDeleteMusicElement(b->id, c.get());
    VexaDeleteMusicElement(77, c.get()); // no such element: nothing happens
    EXPECT_EQ(Add(c.get(), ShortWav())->id, 2);
    EXPECT_EQ(a->id, 0); // the survivor's record stays valid
}

TEST(Elements, AddingARecordKeepsItsTimesAndTakesANewId)
{
    Component c = NewComponent();
    MusicElement record{};
    const std::u16string path = ShortWav().u16string();
    std::copy(path.begin(), path.end(), record.path);
    record.length = 9 * Second; // the host's own values stay, even when the file is shorter
    record.clipLength = 3 * Second;
    record.clipStart = Second;
    record.clipEnabled = 1;
    record.start = 4 * Second;
    record.id = 42;
    EXPECT_TRUE(VexaAddMusicElementEx(&record, c.get()));
    VexaMixBlankValidate(1, c.get());
    EXPECT_EQ(VexaGetMixAudioLength(c.get()), 7 * Second);
    // The id was assigned anew: the first element of the component has id 0.
    EXPECT_TRUE(VexaUpdateMusicElement(0, &record, c.get()));
    EXPECT_FALSE(VexaUpdateMusicElement(42, &record, c.get()));
}

TEST(Elements, TheFiveHundredThirteenthAddFails)
{
    Component c = NewComponent();
    for (int i = 0; i < 512; ++i)
        ASSERT_NE(Add(c.get(), ShortWav()), nullptr) << i;
    EXPECT_EQ(Add(c.get(), ShortWav()), nullptr);
    VexaDeleteMusicElement(100, c.get());
    EXPECT_NE(Add(c.get(), ShortWav()), nullptr); // a free place takes an element again
}

TEST(Elements, UpdatesOutsideTheFileOrClipChangeNothing)
{
    Component c = NewComponent();
    MusicElement *e = Add(c.get(), ShortWav());
    ASSERT_NE(e, nullptr);
    const MusicElement before = *e;
    struct Case {
        const char *what;
        int64_t clipStart, clipLength, start, fadeIn, fadeOut;
    };
    const Case refused[] = {
        {"clip past the file's end", Second, 2 * Second, 0, 0, 0},
        {"negative start", 0, Second, -1, 0, 0},
        {"fades longer than the clip", 0, Second, 0, Second / 2, Second / 2 + 1},
    };
    for (const Case &k : refused) {
        MusicElement r = before;
        r.clipStart = k.clipStart;
        r.clipLength = k.clipLength;
        r.start = k.start;
        r.fadeIn = k.fadeIn;
        r.fadeOut = k.fadeOut;
        r.volume = 50;
        EXPECT_FALSE(VexaUpdateMusicElement(e->id, &r, c.get())) << k.what;
        EXPECT_EQ(std::memcmp(e, &before, sizeof before), 0) << k.what;
    }

    MusicElement r = before;
    r.clipStart = Second / 2;
    r.clipLength = 3 * Second / 2; // ends exactly at the file's end
    r.start = 5 * Second;
    r.fadeIn = Second;
    r.fadeOut = Second / 2;
    r.volume = 50;
    r.clipEnabled = 1; // not copied
    r.length = 1;      // not copied
    EXPECT_TRUE(VexaUpdateMusicElement(e->id, &r, c.get()));
    EXPECT_EQ(e->clipStart, Second / 2);
    EXPECT_EQ(e->clipLength, 3 * Second / 2);
    EXPECT_EQ(e->start, 5 * Second);
    EXPECT_EQ(e->volume, 50);
    EXPECT_EQ(e->clipEnabled, 0);
    EXPECT_EQ(e->length, 2 * Second);
}

TEST(Elements, MixLengthSkipsLeadingSilenceUnlessBlankValidationIsOn)
{
    const auto five = WriteWav("five.wav", 8000, 1, Pattern(8000 * 5));
    Component c = NewComponent();
    for (int64_t start : {20 * Second, 10 * Second}) {
        MusicElement *e = Add(c.get(), five);
        ASSERT_NE(e, nullptr);
        e->start = start;
    }
    EXPECT_EQ(VexaGetMixAudioLength(c.get()), 15 * Second);
    VexaMixBlankValidate(1, c.get());
    EXPECT_EQ(VexaGetMixAudioLength(c.get()), 25 * Second);
}

TEST(Elements, NullHandlesDoNothing)
{
    AudioFrame *frame = nullptr;
    MusicElement record{};
    VexaDeinitializeMusicComponent(nullptr);
    EXPECT_EQ(VexaAddMusicElement(u"x.wav", nullptr), nullptr);
    EXPECT_FALSE(VexaAddMusicElementEx(&record, nullptr));
    VexaDeleteMusicElement(0, nullptr);
    EXPECT_FALSE(VexaUpdateMusicElement(0, &record, nullptr));
    VexaMusicElementChanged(nullptr);
    EXPECT_EQ(VexaGetMixAudioLength(nullptr), 0);
    VexaMixBlankValidate(1, nullptr);
    VexaSetMixParameter(8000, 1, nullptr);
    EXPECT_FALSE(VexaPlayMixAudio(nullptr));
    VexaPauseMixAudio(nullptr);
    EXPECT_FALSE(VexaSeekMixAudio(0, nullptr));
    VexaStopMixAudio(nullptr);
    EXPECT_FALSE(VexaStartMixAudio(u"x.mp3", nullptr, 128000, 16));
    EXPECT_FALSE(VexaCancelMixAudio(nullptr));
    EXPECT_FALSE(VexaStartGetMixAudio(nullptr));
    EXPECT_FALSE(VexaGetNextMixAudio(frame, nullptr));
    // A component without a window system to attach a view to still works.
    int window = 0;
    MusicComponent *withParent = VexaInitializeMusicComponent(nullptr, nullptr, &window);
    EXPECT_NE(withParent, nullptr);
    VexaDeinitializeMusicComponent(withParent);
}
