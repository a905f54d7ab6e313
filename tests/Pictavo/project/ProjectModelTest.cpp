// The project object model: change marking, list ownership, copying and the text form.

#include "project/UDataDef.h"
#include "platform/AppError.h"

#include <QPointer>
#include <functional>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TImageObj> photo(int id)
{
    auto item = std::make_unique<TImageObj>();
    item->SetID(id);
    return item;
}

TEST(Marking, EachSetterMarksTheProjectOrNotAsItsPropertyDoes)
{
    struct Case {
        const char *name;
        std::function<void(TProjItem &)> change;
        bool marks;
    };
    const Case cases[] = {
        {"Seting.Width", [](TProjItem &p) { p.Seting()->SetWidth(1); }, true},
        {"Seting.ImgWidth", [](TProjItem &p) { p.Seting()->SetImgWidth(1); }, true},
        {"Seting.MD5O", [](TProjItem &p) { p.Seting()->SetMD5O(1); }, true},
        {"Seting.CRTS", [](TProjItem &p) { p.Seting()->SetCRTS(1); }, true},
        {"Seting.MusicLoop", [](TProjItem &p) { p.Seting()->SetMusicLoop(true); }, true},
        {"Seting.Height", [](TProjItem &p) { p.Seting()->SetHeight(1); }, false},
        {"Seting.ImgHeight", [](TProjItem &p) { p.Seting()->SetImgHeight(1); }, false},
        {"Seting.FrameRate", [](TProjItem &p) { p.Seting()->SetFrameRate(1); }, false},
        {"Seting.ImgQuality", [](TProjItem &p) { p.Seting()->SetImgQuality(50); }, false},
        {"Seting.EndURL", [](TProjItem &p) { p.Seting()->SetEndURL(QStringLiteral("u")); }, false},
        {"Seting.OutPut", [](TProjItem &p) { p.Seting()->SetOutPut(QStringLiteral("/o")); }, false},
        {"Seting.UseMusic", [](TProjItem &p) { p.Seting()->SetUseMusic(true); }, false},
        {"Seting.OutType", [](TProjItem &p) { p.Seting()->SetOutType(st_43); }, false},
        {"Template.UseBgImage", [](TProjItem &p) { p.Template()->SetUseBgImage(true); }, false},
        {"Template.BgColor", [](TProjItem &p) { p.Template()->SetBgColor(255); }, true},
        {"Template.DragType", [](TProjItem &p) { p.Template()->SetDragType(st_Influence); }, true},
        {"Template.usespotlight", [](TProjItem &p) { p.Template()->Setusespotlight(true); }, true},
        {"Image.FileSize", [](TProjItem &p) { p.Images()->Items(0)->SetFileSize(9); }, true},
        {"Image.URLType", [](TProjItem &p) { p.Images()->Items(0)->SetURLType(st_current); }, true},
        {"Image.ModifyTime", [](TProjItem &p) { p.Images()->Items(0)->SetModifyTime(0.5); }, true},
        {"Audio.bFadeIn", [](TProjItem &p) { p.Audios()->Items(0)->SetbFadeIn(true); }, true},
        {"Audio.Length", [](TProjItem &p) { p.Audios()->Items(0)->SetLength(3); }, true},
    };
    for (const Case &c : cases) {
        TProjItem project;
        project.Images()->Add(photo(1));
        project.Audios()->Add(std::make_unique<TAudio>());
        project.SetModified(false);
        c.change(project);
        EXPECT_EQ(project.Modified(), c.marks) << c.name;
        // The value is stored either way; setting it again changes nothing.
        project.SetModified(false);
        c.change(project);
        EXPECT_FALSE(project.Modified()) << c.name << " marked without a change";
    }
}

TEST(Marking, ChangesPassThroughListsUnlessTheyAreLoading)
{
    TProjItem project;
    project.Images()->Add(photo(1));
    TImageObj *item = project.Images()->Items(0);
    project.SetModified(false);
    project.Images()->SetModified(false);
    item->SetCaption(QStringLiteral("c"));
    EXPECT_TRUE(item->Modified());
    EXPECT_TRUE(project.Images()->Modified());
    EXPECT_TRUE(project.Modified());

    project.SetModified(false);
    pugi::xml_document document;
    pugi::xml_node images = document.append_child("Images");
    images.append_child("TImageObj").append_child("ID").text().set("5");
    project.Images()->LoadFromNode(images);
    EXPECT_FALSE(project.Modified()); // the list's own loading stops the notification
    EXPECT_TRUE(project.Images()->Modified());
    EXPECT_EQ(project.Images()->Items(0)->ID(), 5);
}

TEST(Marking, AFailedReadLeavesNothingInTheLoadingState)
{
    TProjItem project;
    pugi::xml_document document;
    pugi::xml_node images = document.append_child("Images");
    images.append_child("TImageObj").append_child("ISEdit").text().set("maybe");
    EXPECT_THROW(project.Images()->LoadFromNode(images), AppError);
    EXPECT_FALSE(project.Images()->Loading());
    ASSERT_EQ(project.Images()->Count(), 0);
    project.SetModified(false);
    project.Images()->Add(photo(1));
    project.Images()->Items(0)->SetModified(false);
    project.Images()->Items(0)->SetISEdit(true);
    EXPECT_TRUE(project.Images()->Items(0)->Modified());
    EXPECT_TRUE(project.Modified());
}

TEST(Lists, EveryOperationMarksAndRemovedItemsAreFreed)
{
    TProjItem project;
    TImageObjList &images = *project.Images();
    QPointer<TImageObj> first = photo(1).release();
    EXPECT_EQ(images.Add(std::unique_ptr<TImageObj>(first.data())), 0);
    EXPECT_TRUE(project.Modified());
    EXPECT_EQ(first->Owner(), &images);
    EXPECT_EQ(images.Add(photo(2)), 1);
    images.Insert(0, photo(3));
    EXPECT_EQ(first->IndexInOwner(), 1);

    const std::pair<const char *, std::function<void()>> operations[] = {
        {"Move", [&] { images.Move(0, 2); }},         // 1 2 3
        {"Exchange", [&] { images.Exchange(0, 1); }}, // 2 1 3
        {"Delete", [&] { images.Delete(1); }},        // 2 3, frees photo 1
    };
    for (const auto &[name, operation] : operations) {
        project.SetModified(false);
        operation();
        EXPECT_TRUE(project.Modified()) << name;
    }
    EXPECT_TRUE(first.isNull());
    ASSERT_EQ(images.Count(), 2);
    EXPECT_EQ(images.Items(0)->ID(), 2);
    EXPECT_EQ(images.Items(1)->ID(), 3);

    QPointer<TImageObj> last = images.Items(1);
    last->RemoveFromOwner();
    EXPECT_TRUE(last.isNull());
    QPointer<TImageObj> remaining = images.Items(0);
    project.SetModified(false);
    images.Clear();
    EXPECT_TRUE(remaining.isNull());
    EXPECT_TRUE(project.Modified());
    EXPECT_EQ(images.Count(), 0);
}

TEST(Lists, IndexesOutsideTheListAndForeignItemsRaise)
{
    TImageObjList images;
    images.Add(photo(1));
    EXPECT_THROW(images.Items(1), AppError);
    EXPECT_THROW(images.Delete(-1), AppError);
    EXPECT_THROW(images.Move(0, 1), AppError);
    EXPECT_THROW(images.Insert(2, photo(2)), AppError);
    EXPECT_THROW(images.Add(std::make_unique<TAudio>()), AppError); // not a photo
    EXPECT_EQ(images.Count(), 1);
    try {
        images.Exchange(0, 4);
    } catch (const AppError &error) {
        EXPECT_EQ(error.message(), QStringLiteral("List index out of bounds (4)"));
    }
}

TEST(Assign, CopiesDeeplyAndMarks)
{
    TProjItem source;
    source.Images()->Add(photo(7));
    source.Images()->Items(0)->SetURLType(st_current);
    source.Audios()->Add(std::make_unique<TAudio>());
    source.Template()->SetDragType(st_Influence);
    source.Seting()->SetOutPut(QStringLiteral("/out"));
    source.SetOutputPath(QStringLiteral("/out/g.swf"));
    source.SetOutputKind(4);
    source.SetFileName(QStringLiteral("/p.vlpj"));

    TProjItem copy;
    copy.Images()->Add(photo(1));
    copy.Images()->Add(photo(2));
    copy.Assign(&source);
    EXPECT_EQ(copy.GetXMLText(), source.GetXMLText());
    EXPECT_EQ(copy.OutputPath(), source.OutputPath());
    EXPECT_EQ(copy.OutputKind(), 4);
    EXPECT_EQ(copy.FileName(), source.FileName());
    EXPECT_TRUE(copy.Modified());
    ASSERT_EQ(copy.Images()->Count(), 1);
    EXPECT_NE(copy.Images()->Items(0), source.Images()->Items(0));
    EXPECT_EQ(copy.Images()->Items(0)->Owner(), copy.Images());

    copy.Images()->Items(0)->SetID(8); // the copy is independent
    EXPECT_EQ(source.Images()->Items(0)->ID(), 7);
    copy.Assign(&copy); // assigning to itself keeps everything
    EXPECT_EQ(copy.Images()->Count(), 1);
}

TEST(XmlText, OneUnescapedLinePerPropertyAndItem)
{
    TAudioList audios;
    EXPECT_EQ(audios.GetXMLText(), QString());
    auto music = std::make_unique<TAudio>();
    music->SetID(2);
    music->SetFileName(QStringLiteral("a&b.mp3"));
    music->SetFadeOut(true);
    audios.Add(std::move(music));
    audios.Add(std::make_unique<TAudio>());
    EXPECT_EQ(audios.GetXMLText(),
              QStringLiteral("<TAudio><ID>2</ID>\r\n<FileName>a&b.mp3</FileName>\r\n"
                             "<BeginTime>0</BeginTime>\r\n<EndTime>0</EndTime>\r\n"
                             "<Length>0</Length>\r\n<bFadeIn>False</bFadeIn>\r\n"
                             "<FadeOut>True</FadeOut></TAudio>\r\n"
                             "<TAudio><ID>0</ID>\r\n<FileName></FileName>\r\n"
                             "<BeginTime>0</BeginTime>\r\n<EndTime>0</EndTime>\r\n"
                             "<Length>0</Length>\r\n<bFadeIn>False</bFadeIn>\r\n"
                             "<FadeOut>False</FadeOut></TAudio>"));

    TProjItem project;
    EXPECT_TRUE(project.GetXMLText().startsWith(
        QStringLiteral("<Images></Images>\r\n<Template><TemplateID>0</TemplateID>\r\n")));
}

TEST(BaseList, MakesItemsFromTheClassNamedByEachElement)
{
    pugi::xml_document document;
    pugi::xml_node node = document.append_child("List");
    node.append_child("TAudio").append_child("ID").text().set("1");
    node.append_child("Unregistered");
    node.append_child("TImageObj").append_child("ID").text().set("2");
    TBaseObjList list;
    list.LoadFromNode(node);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_NE(qobject_cast<TAudio *>(list.Items(0)), nullptr);
    EXPECT_NE(qobject_cast<TImageObj *>(list.Items(1)), nullptr);
    EXPECT_EQ(qobject_cast<TImageObj *>(list.Items(1))->ID(), 2);
}

} // namespace
