// The template catalogue, the TemplateInfo text and the background colour forms.

#include "project/ProjectDefaults.h"
#include "project/UDataDef.h"
#include "templates/TemplateCatalog.h"
#include "templates/TemplateInfo.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray entry(const QByteArray &id, const QByteArray &md5o, const QByteArray &crts,
                 const QByteArray &flags = "<mousedrag>True</mousedrag><autocursor>TRUE</autocursor>"
                                           "<autoscroll>false</autoscroll><usespotlight>yes</usespotlight>")
{
    return "<Item><TemplateID>" + id + "</TemplateID><MD5O>" + md5o + "</MD5O><CRTS>" + crts +
           "</CRTS>" + flags + "</Item>";
}

QByteArray catalog(const QByteArray &entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ProjName><Templates>" + entries +
           "</Templates></ProjName>";
}

struct CatalogFixture : ::testing::Test {
    QTemporaryDir dir;
    void SetUp() override { qputenv("LUMIVUE_HOME", dir.path().toUtf8()); }
    void writeCatalog(const QByteArray &text)
    {
        WriteTestFile(dir.filePath(QStringLiteral("Res/TemplateXML.xml")), text);
    }
};

TEST_F(CatalogFixture, RangeIsTheStoredValuesLess515)
{
    writeCatalog(catalog("<!-- note -->" + entry("3", "99", "99") + entry("7", "1515", "10515") +
                         entry("7", "515", "515")));
    const auto range = LookupTemplateRange(7);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->Offset, 1000u);
    EXPECT_EQ(range->Size, 10000u);
    const auto entry7 = FindTemplateEntry(7);
    ASSERT_TRUE(entry7.has_value());
    EXPECT_TRUE(entry7->mousedrag);
    EXPECT_TRUE(entry7->autocursor); // "True" in any case
    EXPECT_FALSE(entry7->autoscroll);
    EXPECT_FALSE(entry7->usespotlight);
    EXPECT_FALSE(LookupTemplateRange(4).has_value());
}

TEST_F(CatalogFixture, DamagedOrMissingCataloguesGiveNoResult)
{
    const std::pair<const char *, QByteArray> cases[] = {
        {"not well-formed", catalog(entry("1", "600", "600")).chopped(5)},
        {"non-numeric offset", catalog(entry("1", "6x0", "600"))},
        {"size below the bias", catalog(entry("1", "600", "514"))},
        {"offset beyond 32 bits", catalog(entry("1", "4294967811", "600"))},
        {"missing size", catalog("<Item><TemplateID>1</TemplateID><MD5O>600</MD5O></Item>")},
        {"missing capability", catalog(entry("1", "600", "600", "<mousedrag>True</mousedrag>"))},
        {"ID compared as text", catalog(entry("01", "600", "600"))},
        {"other root", "<Other><Templates>" + entry("1", "600", "600") + "</Templates></Other>"},
        {"damaged first match", catalog(entry("1", "bad", "600") + entry("1", "600", "600"))},
    };
    for (const auto &[name, text] : cases) {
        writeCatalog(text);
        EXPECT_FALSE(LookupTemplateRange(1).has_value()) << name;
    }
    QFile::remove(TemplateCatalogPath());
    EXPECT_FALSE(LookupTemplateRange(1).has_value()) << "missing file";
}

TEST_F(CatalogFixture, StartupValuesTakeTemplateZerosRangeOrZero)
{
    TProjItem project;
    project.Template()->SetSelectOffset(5);
    ApplyStartupValues(project); // no catalogue
    EXPECT_EQ(project.Template()->SelectOffset(), 0u);
    EXPECT_EQ(project.Template()->SelectSize(), 0u);

    writeCatalog(catalog(entry("0", "520", "1515")));
    ApplyStartupValues(project); // read afresh
    EXPECT_EQ(project.Template()->SelectOffset(), 5u);
    EXPECT_EQ(project.Template()->SelectSize(), 1000u);
    EXPECT_EQ(project.Template()->TemplateID(), 0);
    EXPECT_EQ(project.Template()->DragType(), st_Drag);
    EXPECT_EQ(project.Seting()->Width(), 960);
}

TEST(TemplateInfo, ExactTextForEachDragType)
{
    TTemplate settings;
    settings.SetUseBgImage(true);
    settings.SetBgColor(StoredBgColor(QColor(255, 0, 0)));
    settings.SetThumbImg(QStringLiteral("/tmp/a&b <c>.jpeg"));
    settings.SetUseLight(true);
    settings.SetAutoDelay(12);
    const std::pair<TDragType, const char *> cases[] = {
        {st_Drag, "drag move"}, {st_Auto, "auto move"}, {st_Influence, "influence move"}};
    for (const auto &[type, text] : cases) {
        settings.SetDragType(type);
        EXPECT_EQ(MakeTemplateInfoXml(settings),
                  QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><TemplateInfo>"
                                 "<usebgimage>1</usebgimage><colorvalue>16711680</colorvalue>"
                                 "<bgimage>/tmp/a&b <c>.jpeg</bgimage><useframe>0</useframe>"
                                 "<uselight>1</uselight><usefill>0</usefill>"
                                 "<autodelay>12</autodelay><dragtype>%1</dragtype></TemplateInfo>")
                      .arg(QLatin1String(text)));
    }
}

TEST(TemplateInfo, BgColorSwapsRedAndBlueAndDropsTheHighByte)
{
    EXPECT_EQ(StoredBgColor(QColor(255, 0, 0)), 16711680);
    EXPECT_EQ(StoredBgColor(QColor(0x12, 0x34, 0x56, 0x78)), 0x123456);
    EXPECT_EQ(ShownBgColor(int(0xFF0000FF)), QColor(0, 0, 255));
    EXPECT_EQ(ShownBgColor(0x123456), QColor(0x12, 0x34, 0x56));
}

} // namespace
