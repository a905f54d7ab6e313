// The project document: its exact form, reading rules, failures and round trip.

#include "project/ProjectDefaults.h"
#include "project/ProjectFile.h"
#include "project/UDataDef.h"
#include "platform/AppError.h"
#include "TestFiles.h"

#include <QLocale>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

struct DocumentFixture : ::testing::Test {
    QTemporaryDir dir;
    void SetUp() override
    {
        qputenv("LUMIVUE_HOME", dir.path().toUtf8()); // no template catalogue there
        TBaseProj::SetVersionSource([] { return QStringLiteral("2.2.3.414"); });
    }
    void TearDown() override { TBaseProj::SetVersionSource(nullptr); }
    QString path(const QString &name) const { return dir.filePath(name); }

    // Loads `body` (the children of the root element) into `project`.
    void load(TProjItem &project, const QByteArray &body, const QByteArray &root = "Plexo")
    {
        const QString file = path(QStringLiteral("in.vlpj"));
        WriteTestFile(file, "<?xml version=\"1.0\"?><" + root + " version=\"9.8.7.6\">" + body +
                                "</" + root + ">");
        project.LoadFromFile(file);
    }
};

const char freshDocument[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Plexo version="2.2.3.414">
  <Images />
  <Template>
    <TemplateID>0</TemplateID>
    <TemplateName></TemplateName>
    <TemplateType>st_3d_Wall</TemplateType>
    <UseFrame>False</UseFrame>
    <BgColor>0</BgColor>
    <BgImage></BgImage>
    <ThumbImg></ThumbImg>
    <MD5O>0</MD5O>
    <CRTS>0</CRTS>
    <SelectOffset>0</SelectOffset>
    <SelectSize>0</SelectSize>
    <ImgOffset>0</ImgOffset>
    <ImgSize>0</ImgSize>
    <DragType>st_Drag</DragType>
    <UseLight>True</UseLight>
    <UseFill>False</UseFill>
    <AutoDelay>5</AutoDelay>
    <UseBgImage>False</UseBgImage>
    <AutoPlay>False</AutoPlay>
    <AutoLoop>False</AutoLoop>
    <FullPlay>False</FullPlay>
    <mousedrag>False</mousedrag>
    <autocursor>False</autocursor>
    <autoscroll>False</autoscroll>
    <usespotlight>False</usespotlight>
  </Template>
  <Audios />
  <Seting>
    <Width>960</Width>
    <Height>540</Height>
    <ImgWidth>0</ImgWidth>
    <ImgHeight>0</ImgHeight>
    <FrameRate>0</FrameRate>
    <ImgQuality>85</ImgQuality>
    <EndURL></EndURL>
    <OutPut></OutPut>
    <MD5O>0</MD5O>
    <CRTS>0</CRTS>
    <UseMusic>False</UseMusic>
    <OutType>st_169</OutType>
    <MusicLoop>True</MusicLoop>
  </Seting>
</Plexo>
)";

TEST_F(DocumentFixture, FreshProjectWritesEveryElementInDeclarationOrder)
{
    TProjItem project;
    ApplyStartupValues(project);
    const QString file = path(QStringLiteral("deep/er/fresh.vlpj")); // folders are made
    project.SaveToFile(file);
    EXPECT_EQ(ReadTestFile(file), QByteArray(freshDocument));
    EXPECT_EQ(project.Version(), QStringLiteral("2.2.3.414"));
    EXPECT_EQ(project.FileName(), file);
    EXPECT_FALSE(project.Modified());
}

TEST_F(DocumentFixture, VersionIsEmptyForAProgramWithoutOne)
{
    TBaseProj::SetVersionSource([] { return QString(); });
    TProjItem project;
    project.SaveToFile(path(QStringLiteral("p.vlpj")));
    EXPECT_TRUE(ReadTestFile(path(QStringLiteral("p.vlpj"))).contains("<Plexo version=\"\">"));
}

// A project holding every value form, including those that need escaping or are easy to lose.
void fillAwkwardProject(TProjItem &project)
{
    for (int i = 0; i < 2; ++i) {
        auto photo = std::make_unique<TImageObj>();
        photo->SetID(i + 1);
        photo->SetSrcFile(QStringLiteral("/photos/Été %1 <&> \"q\".jpg").arg(i));
        photo->SetCaption(QStringLiteral("   "));
        photo->SetDescription(QStringLiteral("line one\nline two\t\u4e2d\U0001F600"));
        photo->SetURLType(st_current);
        photo->SetISEdit(i == 1);
        photo->SetModifyTime(0.1 + i);
        photo->SetFileSize(-5);
        photo->SetMD5O(Q_INT64_C(9000000000));
        project.Images()->Add(std::move(photo));
    }
    auto music = std::make_unique<TAudio>();
    music->SetFileName(QStringLiteral("/music/a.mp3"));
    music->SetEndTime(Q_INT64_C(-9223372036854775807) - 1);
    music->SetbFadeIn(true);
    project.Audios()->Add(std::move(music));
    project.Template()->SetTemplateType(st_part);
    project.Template()->SetSelectOffset(3000000000u); // beyond the signed 32-bit range
    project.Template()->SetBgColor(16711680);
    project.Seting()->SetOutType(st_Custom);
    project.Seting()->SetOutPut(QStringLiteral(" trailing "));
}

TEST_F(DocumentFixture, WrittenDocumentRoundTripsByteForByte)
{
    TProjItem original;
    ApplyStartupValues(original);
    fillAwkwardProject(original);
    original.SaveToFile(path(QStringLiteral("a.vlpj")));

    TProjItem copy;
    copy.LoadFromFile(path(QStringLiteral("a.vlpj")));
    copy.SaveToFile(path(QStringLiteral("b.vlpj")));
    EXPECT_EQ(ReadTestFile(path(QStringLiteral("a.vlpj"))), ReadTestFile(path(QStringLiteral("b.vlpj"))));
    EXPECT_EQ(copy.GetXMLText(), original.GetXMLText());
    ASSERT_EQ(copy.Images()->Count(), 2);
    EXPECT_EQ(copy.Images()->Items(0)->Caption(), QStringLiteral("   "));
    EXPECT_EQ(copy.Template()->SelectOffset(), 3000000000u);
    EXPECT_TRUE(ReadTestFile(path(QStringLiteral("a.vlpj"))).contains("<SelectOffset>-1294967296<"));
    EXPECT_FALSE(copy.Modified());
}

TEST_F(DocumentFixture, ReadingIgnoresOrderAndUnknownElementsAndKeepsMissingValues)
{
    TProjItem project;
    project.Seting()->SetFrameRate(24);
    load(project, "<Seting><Height>600</Height><Bogus>1</Bogus><Width>800</Width></Seting>"
                  "<Images><TImageObj><CRTS>7</CRTS><Extra><ID>99</ID></Extra>"
                  "<URLType>st_current</URLType><ID>3</ID><ID>4</ID></TImageObj>"
                  "<AnyName><SrcFile/></AnyName></Images><Unknown/>");
    EXPECT_EQ(project.Version(), QStringLiteral("9.8.7.6"));
    EXPECT_EQ(project.Seting()->Width(), 800);
    EXPECT_EQ(project.Seting()->Height(), 600);
    EXPECT_EQ(project.Seting()->FrameRate(), 24); // missing: left as it was
    ASSERT_EQ(project.Images()->Count(), 2);      // list items are read whatever their names
    const TImageObj *photo = project.Images()->Items(0);
    EXPECT_EQ(photo->CRTS(), 7);
    EXPECT_EQ(photo->URLType(), st_current);
    EXPECT_EQ(photo->ID(), 4); // named twice: the last value
    EXPECT_EQ(photo->Owner(), project.Images());
    EXPECT_FALSE(project.Modified());
}

TEST_F(DocumentFixture, NumbersThatAreNotNumbersReadAsZero)
{
    TProjItem project;
    project.Seting()->SetWidth(5);
    project.Template()->SetCRTS(5);
    load(project, "<Seting><Width>12px</Width><MD5O>1e3</MD5O></Seting>"
                  "<Template><CRTS>4294967295</CRTS><ImgSize>x</ImgSize></Template>");
    EXPECT_EQ(project.Seting()->Width(), 0);
    EXPECT_EQ(project.Seting()->MD5O(), 0);
    EXPECT_EQ(project.Template()->CRTS(), 4294967295u); // the unsigned form is accepted too
}

TEST_F(DocumentFixture, EnumerationTextThatIsNoNameStopsTheLoad)
{
    struct Case {
        QByteArray body;
        QString message;
    };
    const Case cases[] = {
        {"<Images><TImageObj><ISEdit>maybe</ISEdit></TImageObj></Images>",
         QStringLiteral("Invalid property element: maybe")},
        {"<Template><DragType>st_drag</DragType></Template>",
         QStringLiteral("Invalid property element: st_drag")},
        {"<Seting><MusicLoop>true</MusicLoop></Seting>",
         QStringLiteral("Invalid property element: true")},
        {"<Seting><OutType></OutType></Seting>", QStringLiteral("Invalid property element: ")},
    };
    for (const Case &c : cases) {
        TProjItem project;
        project.Images()->Add(std::make_unique<TImageObj>());
        try {
            load(project, c.body);
            ADD_FAILURE() << c.body.constData() << " was accepted";
        } catch (const AppError &error) {
            EXPECT_EQ(error.message(), c.message);
        }
        // The rejected document changed nothing.
        EXPECT_EQ(project.Images()->Count(), 1) << c.body.constData();
        EXPECT_EQ(project.FileName(), QString());
    }
}

TEST_F(DocumentFixture, ReadingTwiceDoesNotDuplicatePhotos)
{
    TProjItem project;
    fillAwkwardProject(project);
    project.SaveToFile(path(QStringLiteral("p.vlpj")));
    project.LoadFromFile(path(QStringLiteral("p.vlpj")));
    project.LoadFromFile(path(QStringLiteral("p.vlpj")));
    EXPECT_EQ(project.Images()->Count(), 2);
    EXPECT_EQ(project.Audios()->Count(), 1);
}

TEST_F(DocumentFixture, RootNameIsComparedWithoutCase)
{
    TProjItem project;
    load(project, "<Seting><Width>1</Width></Seting>", "plexo");
    EXPECT_EQ(project.Seting()->Width(), 1);

    load(project, "<Seting><Width>2</Width></Seting><Images><TImageObj/></Images>", "Other");
    EXPECT_EQ(project.Seting()->Width(), 1);
    EXPECT_EQ(project.Images()->Count(), 0);
    EXPECT_EQ(project.Version(), QStringLiteral("9.8.7.6"));
}

TEST_F(DocumentFixture, ReaderAcceptsOtherEncodingsAndEmptyElementForms)
{
    const QString file = path(QStringLiteral("latin.vlpj"));
    WriteTestFile(file, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<Plexo>"
                        "<Template><BgImage>caf\xe9</BgImage><ThumbImg/><TemplateName></TemplateName>"
                        "</Template></Plexo>");
    TProjItem project;
    project.Template()->SetThumbImg(QStringLiteral("old"));
    project.Template()->SetTemplateName(QStringLiteral("old"));
    project.LoadFromFile(file);
    EXPECT_EQ(project.Template()->BgImage(), QStringLiteral("café"));
    EXPECT_EQ(project.Template()->ThumbImg(), QString());
    EXPECT_EQ(project.Template()->TemplateName(), QString());
    EXPECT_EQ(project.Version(), QString());
}

TEST_F(DocumentFixture, UnreadableFilesRaiseAndLeaveTheProject)
{
    TProjItem project;
    project.Seting()->SetWidth(7);
    WriteTestFile(path(QStringLiteral("broken.vlpj")), "<Plexo><Seting><Width>1</Width></Seting>");
    EXPECT_THROW(project.LoadFromFile(path(QStringLiteral("broken.vlpj"))), AppError);
    EXPECT_THROW(project.LoadFromFile(path(QStringLiteral("missing.vlpj"))), AppError);
    EXPECT_EQ(project.Seting()->Width(), 7);
    EXPECT_EQ(project.FileName(), QString());
}

TEST_F(DocumentFixture, FailedSaveKeepsTheOldFile)
{
    const QString file = path(QStringLiteral("keep.vlpj"));
    TProjItem project;
    project.SaveToFile(file);
    const QByteArray before = ReadTestFile(file);
    fillAwkwardProject(project);

    // Writes beyond 64 bytes fail, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(project.SaveToFile(file), AppError);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(ReadTestFile(file), before);
    EXPECT_TRUE(project.Modified());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.vlpj")});
}

TEST_F(DocumentFixture, SaveIntoAFolderThatCannotBeMadeRaises)
{
    WriteTestFile(path(QStringLiteral("plain")), "x");
    TProjItem project;
    EXPECT_THROW(project.SaveToFile(path(QStringLiteral("plain/sub/p.vlpj"))), AppError);
    EXPECT_THROW(project.SaveToFile(dir.path()), AppError); // the target is a folder
    EXPECT_EQ(project.FileName(), QString());
}

TEST_F(DocumentFixture, DoublesFollowTheUserLocale)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TProjItem project;
    auto photo = std::make_unique<TImageObj>();
    photo->SetModifyTime(1234.5);
    project.Images()->Add(std::move(photo));
    project.SaveToFile(path(QStringLiteral("de.vlpj")));
    const QByteArray text = ReadTestFile(path(QStringLiteral("de.vlpj")));
    EXPECT_TRUE(text.contains("<ModifyTime>1234,5</ModifyTime>"));
    EXPECT_TRUE(text.contains("<CreateTime>0</CreateTime>"));
    project.LoadFromFile(path(QStringLiteral("de.vlpj")));
    EXPECT_EQ(project.Images()->Items(0)->ModifyTime(), 1234.5);

    QLocale::setDefault(QLocale::c()); // another separator: the value does not read back
    project.LoadFromFile(path(QStringLiteral("de.vlpj")));
    EXPECT_EQ(project.Images()->Items(0)->ModifyTime(), 0);
    QLocale::setDefault(saved);
}

TEST(CompanionFolder, ReplacesTheExtensionOfTheFileName)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("/work/Trip.vlpj"), QStringLiteral("/work/Trip_vlpj")},
        {QStringLiteral("/work/Trip.2024.VLPJ"), QStringLiteral("/work/Trip.2024_vlpj")},
        {QStringLiteral("/work.d/Trip"), QStringLiteral("/work.d/Trip_vlpj")},
    };
    for (const auto &[project, folder] : cases)
        EXPECT_EQ(CompanionFolder(project), folder) << project.toStdString();
}

} // namespace

namespace {

TEST_F(DocumentFixture, DeeplyNestedElementTextReadsWithoutExhaustingTheStack)
{
    const int depth = 200000;
    TProjItem project;
    load(project, "<Seting><Width>" + QByteArray("<a>").repeated(depth) + "12" +
                      QByteArray("</a>").repeated(depth) + "3</Width></Seting>");
    EXPECT_EQ(project.Seting()->Width(), 123);
}

} // namespace
