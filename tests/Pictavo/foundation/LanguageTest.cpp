#include "Multilingual.h"
#include "ULanguage.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct LanguageFixture : ::testing::Test {
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("language.xml"));
    void load(const QByteArray &xml)
    {
        WriteTestFile(file, xml);
        LoadLanguage(file);
    }
    void TearDown() override { ReleaseLanguage(); }
};

} // namespace

TEST_F(LanguageFixture, KeysCompareWithCaseAndTheFirstDuplicateCounts)
{
    load("<?xml version=\"1.0\"?><language><MSG_ISSAVE>caps</MSG_ISSAVE>"
         "<msg_thereis>first</msg_thereis><msg_thereis>second</msg_thereis>"
         "<frm_main_unit>pho<b>t</b>os<!-- c --></frm_main_unit></language>");
    EXPECT_TRUE(LanguageLoaded());
    EXPECT_EQ(LangText(QStringLiteral("msg_issave")), QString());
    EXPECT_EQ(LangText(QStringLiteral("msg_issave"), QStringLiteral("dflt")), QStringLiteral("dflt"));
    EXPECT_EQ(LangText(QStringLiteral("msg_thereis")), QStringLiteral("first"));
    EXPECT_EQ(LangText(QStringLiteral("frm_main_unit")), QStringLiteral("photos"));
}

TEST_F(LanguageFixture, MissingBrokenOrRootlessFilesLoadNothing)
{
    LoadLanguage(dir.filePath(QStringLiteral("none.xml")));
    EXPECT_FALSE(LanguageLoaded());
    load("<language><msg_thereis>x</msg_thereis>"); // not well-formed
    EXPECT_FALSE(LanguageLoaded());
    EXPECT_EQ(LangText(QStringLiteral("msg_thereis")), QString());
    load("<texts><language><msg_thereis>x</msg_thereis></language></texts>");
    EXPECT_FALSE(LanguageLoaded());
}

TEST_F(LanguageFixture, ReadsTheEncodingItsDeclarationNames)
{
    load(QByteArray("<?xml version=\"1.0\" encoding=\"windows-1252\"?><language><k>caf\xe9 \x80</k></language>"));
    EXPECT_EQ(LangText(QStringLiteral("k")), QString::fromUtf16(u"caf\u00e9 \u20ac"));
    QByteArray utf16 = "\xff\xfe";
    for (const QChar c : QStringLiteral("<language><k>\u00e9</k></language>"))
        utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    load(utf16);
    EXPECT_EQ(LangText(QStringLiteral("k")), QString::fromUtf16(u"\u00e9"));
}

TEST_F(LanguageFixture, ApplyLanguageFillsTheTableRowsOfTheForm)
{
    load("<language><frm_main_unit>photos</frm_main_unit>"
         "<frm_addmusic_title>Add music</frm_addmusic_title>"
         "<frm_addmusic_begin>Start</frm_addmusic_begin></language>");
    QWidget main;
    main.setObjectName(QStringLiteral("FRMMAIN")); // form names compare without case
    auto *count = new QLabel(QStringLiteral("design"), &main);
    count->setObjectName(QStringLiteral("LabImageCount"));
    auto *name = new QLabel(QStringLiteral("design"), &main);
    name->setObjectName(QStringLiteral("lblFileName"));
    ApplyLanguage(&main);
    EXPECT_EQ(count->text(), QStringLiteral("0 photos"));
    EXPECT_EQ(name->text(), QString()) << "a missing key still replaces the caption";

    QWidget music;
    music.setObjectName(QStringLiteral("FrmMusicSet"));
    auto *caption = new QLabel(&music);
    caption->setObjectName(QStringLiteral("LblBaseCaption"));
    auto *add = new QWidget(&music);
    add->setObjectName(QStringLiteral("BtnAdd"));
    auto *list = new QTreeWidget(&music);
    list->setObjectName(QStringLiteral("FileList"));
    list->setColumnCount(3);
    ApplyLanguage(&music);
    EXPECT_EQ(caption->text(), QStringLiteral("Add music"));
    EXPECT_EQ(add->toolTip(), QStringLiteral("Add music"));
    EXPECT_EQ(list->headerItem()->text(1), QStringLiteral("Start"));

    QWidget other;
    other.setObjectName(QStringLiteral("FrmOther"));
    auto *label = new QLabel(QStringLiteral("kept"), &other);
    label->setObjectName(QStringLiteral("LblBaseCaption"));
    ApplyLanguage(&other);
    EXPECT_EQ(label->text(), QStringLiteral("kept"));
}

TEST_F(LanguageFixture, ShippedLanguageFileHoldsEveryKey)
{
    LoadLanguage(QStringLiteral(LUMIVUE_SOURCE_DIR "/data/language/language.xml"));
    ASSERT_TRUE(LanguageLoaded());
    for (const LanguageBinding &binding : LanguageBindings())
        EXPECT_FALSE(LangText(QString::fromLatin1(binding.key)).isEmpty()) << binding.key;
    for (const char *key : {"msg_adobe_flash_player", "msg_flash_player_detection",
                            "msg_you_need_the_last", "msg_issave", "msg_thereis", "msg_max_photo",
                            "frm_flash_ver", "msg_invalid_file", "msg_projectexists",
                            "frm_publish_create", "frm_publish_edit", "frm_publish_editmusic",
                            "msg_failed_swf", "msg_publishsuccess", "msg_click_here",
                            "msg_click_learn", "msg_the_folder", "msg_the_following",
                            "msg_the_output", "msg_run_is_failed", "frm_addmusic_total",
                            "msg_the_follow"})
        EXPECT_FALSE(LangText(QString::fromLatin1(key)).isEmpty()) << key;
}
