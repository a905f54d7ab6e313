// The editor UI bridge: request and invoke texts, the command table, and the commands' effects.

#include "ShellFixture.h"
#include "ShockwaveEx.h"
#include "UPhotoList.h"
#include "platform/WindowMessages.h"

#include <QMouseEvent>

TEST(FlashTexts, InvokeTextIsBuiltByConcatenationWithoutEscaping)
{
    EXPECT_EQ(MakeInvokeText(QStringLiteral("SetReLoadImage")),
              QStringLiteral("<invoke name=\"SetReLoadImage\" returntype=\"xml\"><arguments>"
                             "<string></string></arguments></invoke>"));
    EXPECT_EQ(MakeInvokeText(QStringLiteral("UpdateThumbImg"), {QStringLiteral("/a&b/<x>.jpeg"), QStringLiteral("3")}),
              QStringLiteral("<invoke name=\"UpdateThumbImg\" returntype=\"xml\"><arguments>"
                             "<string>/a&b/<x>.jpeg</string><string>3</string></arguments></invoke>"));
}

TEST(FlashTexts, InvokeTextsReadBackLenientlyWithNestedXml)
{
    const QString photos = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?> <photos><photo><thumb>/t/a&b.jpeg</thumb>"
        "<title><string>odd</string></title></photo></photos>");
    const auto call = ParseInvokeText(MakeInvokeText(QStringLiteral("AddPhoto"), {photos, QStringLiteral("x</arguments>")}));
    ASSERT_TRUE(call);
    EXPECT_EQ(call->function, QStringLiteral("AddPhoto"));
    EXPECT_EQ(call->arguments, QStringList({photos, QStringLiteral("x</arguments>")}));
    EXPECT_FALSE(ParseInvokeText(QStringLiteral("<call/>")));
}

TEST(FlashTexts, RequestArgumentsAreTheTextsOfTheLastChild)
{
    const TFlashRequest request(QStringLiteral(
        "<invoke name=\"DelPhoto\" returntype=\"xml\"><arguments><string>4-9-</string>"
        "<number>2</number></arguments></invoke>"));
    EXPECT_EQ(request.Name(), QStringLiteral("DelPhoto"));
    EXPECT_EQ(request.Argument(0), QStringLiteral("4-9-"));
    EXPECT_EQ(request.IntArgument(1), 2);
    EXPECT_EQ(request.Argument(2), QString());
    EXPECT_THROW(request.IntArgument(0), AppError);
    EXPECT_THROW(request.IntArgument(2), AppError);
    EXPECT_EQ(request.IntArgumentOr(0, 0), 0);
    EXPECT_THROW(TFlashRequest(QStringLiteral("<invoke name=\"x\"")), AppError);
}

class BridgeTest : public ShellTest {};

TEST_F(BridgeTest, EachCommandReachesItsHandlerAndCaseMatters)
{
    OpenWindow();
    struct Case {
        const char *name;
        QStringList arguments;
        const char *handedOver; // what the features saw; empty: nothing
    };
    const Case cases[] = {
        {"Menu_New", {}, "NewProject"},
        {"Menu_Open", {}, "OpenProjectDialog"},
        {"Menu_Save", {}, "SaveProject"},
        {"Menu_SaveAs", {}, "SaveProjectAs"},
        {"Menu_ABout", {}, "ShowAbout"},
        {"SetDesction", {QStringLiteral("3")}, "EditDescription 3"},
        {"EditPhoto", {QStringLiteral("2")}, "EditPhoto 2"},
        {"AddMusic", {}, "MusicSettings"},
        {"SetTemplate", {}, "TemplateSettings"},
        {"Menu_About", {}, ""},
        {"menu_new", {}, ""},
        {"MENU_SAVE", {}, ""},
        {"Addmusic", {}, ""},
        {"NoSuchCommand", {}, ""},
    };
    for (const Case &c : cases) {
        features->calls.clear();
        Command(QString::fromLatin1(c.name), c.arguments);
        EXPECT_EQ(features->calls.join(u','), QString::fromLatin1(c.handedOver)) << c.name;
    }
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(BridgeTest, FeaturesStillToComeSayTheyAreNotAvailable)
{
    TFrmmain &main = OpenWindow();
    main.SetFeatures(std::make_unique<TMainFeatures>());
    AddPhotoToProject(main.Project(), MakePicture(QStringLiteral("p.png")), {}, -1);
    Command(QStringLiteral("EditPhoto"), {QStringLiteral("0")});
    EXPECT_EQ(prompts.messages, QStringList({"This feature is not available yet."}));
}

TEST_F(BridgeTest, CommandsRunLaterFromTheEventLoopInTheOrderSent)
{
    OpenWindow();
    control->InjectCommand(QStringLiteral("SetTemplate"));
    control->InjectCommand(QStringLiteral("Menu_ABout"));
    control->InjectCommand(QStringLiteral("AddMusic"));
    EXPECT_TRUE(features->calls.isEmpty());
    QCoreApplication::sendPostedEvents(window.get());
    EXPECT_EQ(features->calls, QStringList({"TemplateSettings", "ShowAbout", "MusicSettings"}));
}

TEST_F(BridgeTest, ErrorsOfACommandAreShownAndTheProgramGoesOn)
{
    OpenWindow();
    control->Inject(QStringLiteral("<invoke name=\"Menu_New\""));
    QCoreApplication::sendPostedEvents(window.get());
    Command(QStringLiteral("SetDesction"), {QStringLiteral("first")});
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("not valid XML")));
    EXPECT_EQ(prompts.messages[1], QStringLiteral("'first' is not a valid integer value"));
    EXPECT_EQ(prompts.captions[1], QStringLiteral("Vexasoft Lumivue"));
    EXPECT_TRUE(features->calls.isEmpty());
    Command(QStringLiteral("Menu_New"));
    EXPECT_EQ(features->calls, QStringList({"NewProject"}));
}

TEST_F(BridgeTest, TemplateSelectedStoresTheChoiceAndEnablesImageReloads)
{
    TFrmmain &main = OpenWindow();
    AddPhotoToProject(main.Project(), MakePicture(QStringLiteral("p.png")), {}, -1);
    // Before any template choice, changes to the photo list never ask for a reload.
    Command(QStringLiteral("RefreshPhoto"), {QStringLiteral("1-")});
    EXPECT_FALSE(control->log.contains(QStringLiteral("SetReLoadImage")));

    Command(QStringLiteral("Template_Selected"),
            {QStringLiteral("1200"), QStringLiteral("56000"), QStringLiteral("x")});
    const TTemplate *templ = main.Project().Template();
    EXPECT_EQ(templ->TemplateID(), 0);
    EXPECT_EQ(templ->SelectOffset(), 1200u);
    EXPECT_EQ(templ->SelectSize(), 56000u);
    EXPECT_TRUE(main.TemplateSelected());
    EXPECT_TRUE(control->log.isEmpty());

    Command(QStringLiteral("Template_Selected"),
            {QStringLiteral("4294967297"), QStringLiteral("7"), QStringLiteral("12")});
    EXPECT_EQ(templ->TemplateID(), 12);
    EXPECT_EQ(templ->SelectOffset(), 1u); // a 64-bit value stored as unsigned 32-bit

    Command(QStringLiteral("RefreshPhoto"), {QStringLiteral("1-")});
    EXPECT_EQ(control->log, QStringList({"SetReLoadImage", "<StopPlay>"}));
}

TEST_F(BridgeTest, PublishCommandsNeedPhotosThenApplyTheDialogsChoice)
{
    TFrmmain &main = OpenWindow();
    Command(QStringLiteral("BuildSWF"));
    EXPECT_EQ(prompts.messages, QStringList({LangText(QStringLiteral("msg_thereis"))}));
    EXPECT_TRUE(features->calls.isEmpty());

    AddPhotoToProject(main.Project(), MakePicture(QStringLiteral("p.png")), {}, -1);
    features->publishChoice = PublishChoice{800.4, 449.6, 2, QStringLiteral("/out"), PublishChoice::Classic43};
    Command(QStringLiteral("BuildHTML"));
    EXPECT_EQ(features->calls, QStringList({"PublishSettings 2 play 0 loop 0", "Export 2 800x450"}));
    const TSeting *seting = main.Project().Seting();
    EXPECT_EQ(seting->ImgQuality(), 100);
    EXPECT_EQ(seting->OutPut(), QStringLiteral("/out"));
    EXPECT_EQ(seting->OutType(), st_43);
    EXPECT_EQ(main.Project().OutputKind(), 2);

    // A cancelled dialog still records the kind and exports nothing.
    features->calls.clear();
    features->publishChoice.reset();
    Command(QStringLiteral("BuildEmail"));
    EXPECT_EQ(features->calls, QStringList({"PublishSettings 3 play 0 loop 0"}));
    EXPECT_EQ(main.Project().OutputKind(), 3);
}

TEST_F(BridgeTest, ScreenSaverPlaysAndLoopsButTheProjectKeepsItsChoice)
{
    TFrmmain &main = OpenWindow();
    AddPhotoToProject(main.Project(), MakePicture(QStringLiteral("p.png")), {}, -1);
    TTemplate *templ = main.Project().Template();
    templ->SetAutoPlay(false);
    templ->SetAutoLoop(true);
    Command(QStringLiteral("BuildSRC")); // cancelled
    EXPECT_EQ(features->calls, QStringList({"PublishSettings 4 play 1 loop 1"}));
    EXPECT_FALSE(templ->AutoPlay());
    EXPECT_TRUE(templ->AutoLoop());

    features->publishChoice = PublishChoice{640, 480, 0, {}, PublishChoice::Custom};
    templ->SetAutoLoop(false);
    Command(QStringLiteral("BuildSRC"));
    EXPECT_FALSE(templ->AutoPlay());
    EXPECT_FALSE(templ->AutoLoop());
}

TEST_F(BridgeTest, PreviewIsSizedToTheControlAndTheSizeIsRestored)
{
    TFrmmain &main = OpenWindow();
    AddPhotoToProject(main.Project(), MakePicture(QStringLiteral("p.png")), {}, -1);
    main.show();
    main.resize(700, 535 + 26 + 24);
    QCoreApplication::processEvents();
    ASSERT_EQ(control->Widget()->height(), 535);
    Command(QStringLiteral("PreViewFlash"));
    EXPECT_EQ(features->calls, QStringList({"Export 5 520x360"}));
    EXPECT_EQ(main.Project().Seting()->Width(), 960);
    EXPECT_EQ(main.Project().Seting()->Height(), 540);
    EXPECT_EQ(main.Project().OutputKind(), 5);
}

TEST_F(BridgeTest, PreviewReadyHandsTheMovieOverOnlyWhenItExists)
{
    OpenWindow();
    SendWindowMessage(window.get(), WindowMessage::PreviewReady);
    EXPECT_TRUE(control->calls.isEmpty());
    const QString movie = WorkFolder() + QStringLiteral("TempFlash.swf");
    WriteTestFile(movie, "FWS");
    SendWindowMessage(window.get(), WindowMessage::PreviewReady);
    EXPECT_EQ(control->calls, QStringList({MakeInvokeText(QStringLiteral("PreViewFlash"), {movie})}));
}

TEST_F(BridgeTest, TemplateChangesAreSentWithAReloadOnRequest)
{
    TFrmmain &main = OpenWindow();
    main.Project().Template()->SetDragType(st_Influence);
    SendWindowMessage(window.get(), WindowMessage::TemplateChanged, 0, 1);
    ASSERT_EQ(control->log, QStringList({"SetTemplateInfo", "ReLoadSelectedTemplate"}));
    EXPECT_TRUE(control->calls[0].contains(QStringLiteral("<dragtype>influence move</dragtype>")));
    SendWindowMessage(window.get(), WindowMessage::TemplateChanged, 0, 0);
    EXPECT_EQ(control->log.size(), 3);
}

TEST_F(BridgeTest, ARightClickOnTheUIAsksItForItsMenuInstead)
{
    OpenWindow();
    int pressesSeen = 0;
    struct Counter : QObject {
        int &seen;
        explicit Counter(int &s) : seen(s) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::MouseButtonPress)
                ++seen;
            return false;
        }
    } counter(pressesSeen);
    control->Widget()->installEventFilter(&counter);
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control->Widget(), &right);
    QMouseEvent left(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(control->Widget(), &left);
    EXPECT_EQ(pressesSeen, 1); // only the left press reached the control
    QCoreApplication::sendPostedEvents(window.get());
    EXPECT_EQ(control->log, QStringList({"PopuRightMenu"}));
}

TEST_F(BridgeTest, UICallsThatFailAreShownByTheDefaultHandler)
{
    OpenWindow();
    control->failing.insert(QStringLiteral("PopuRightMenu"));
    PostWindowMessage(window.get(), WindowMessage::UIContextMenu);
    QCoreApplication::sendPostedEvents(window.get());
    EXPECT_EQ(prompts.messages, QStringList({"no function"}));
}

TEST(ShockwaveFlashEx, ClickEventsAndTheMouseLock)
{
    auto player = std::make_unique<TRecordingFlashControl>();
    QWidget *surface = player->Widget();
    TShockwaveFlashEx control(std::move(player));
    QStringList seen;
    control.OnMouseDown = [&](Qt::MouseButton, Qt::KeyboardModifiers, QPoint at) {
        seen << QStringLiteral("down %1,%2").arg(at.x()).arg(at.y());
    };
    control.OnClick = [&] { seen << QStringLiteral("click"); };
    control.OnKeyDown = [&](int key) { seen << QStringLiteral("key %1").arg(key); };
    struct Reached : QObject {
        int count = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            count += event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
            return false;
        }
    } reached;
    // Filters installed later run first; this one sits behind the control's, like the movie.
    surface->removeEventFilter(&control);
    surface->installEventFilter(&reached);
    surface->installEventFilter(&control);

    const auto send = [&](QEvent::Type type, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(3, 4), QPointF(3, 4), button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &key);
    EXPECT_EQ(seen, QStringList({"down 3,4", "click", QStringLiteral("key %1").arg(int(Qt::Key_A))}));
    EXPECT_EQ(reached.count, 2);

    control.LockMouseClick = true;
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::LeftButton);
    send(QEvent::MouseButtonPress, Qt::RightButton); // swallowed: the control shows no menu
    EXPECT_EQ(reached.count, 2);
}
