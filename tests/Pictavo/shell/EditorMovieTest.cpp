// The editor UI movie played by the real control, offscreen: it announces itself, shows the
// photos the host sends, and its own actions reach the host's commands.

#include "ShellFixture.h"
#include "ShockwaveEx.h"
#include "UPhotoList.h"
#include "platform/QuickFlashPlayer.h"
#include "platform/WindowMessages.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QQuickItem>

namespace {

template <typename Done>
bool waitFor(Done done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

class EditorMovieTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        WriteTestFile(ProgramDir() + QStringLiteral("libavcodec.dll"),
                      ReadTestFile(QStringLiteral(LUMIVUE_SOURCE_DIR "/data/editor/EditorUI.qml")));
        WriteTestFile(ProgramDir() + QStringLiteral("Res/TemplateXML.xml"),
                      "<?xml version=\"1.0\"?><ProjName><Templates>"
                      "<Template><TemplateID>7</TemplateID><TemplateName>Wall</TemplateName>"
                      "<MD5O>1715</MD5O><CRTS>10515</CRTS><mousedrag>True</mousedrag>"
                      "<autocursor>True</autocursor><autoscroll>True</autoscroll>"
                      "<usespotlight>True</usespotlight></Template></Templates></ProjName>");
    }

    TFrmmain &OpenMovieWindow(QStringList parameters)
    {
        window = std::make_unique<TFrmmain>(
            [] { return std::unique_ptr<TShockwaveFlash>(std::make_unique<TQuickFlashPlayer>()); },
            std::move(parameters));
        auto recording = std::make_unique<TRecordingFeatures>();
        features = recording.get();
        window->SetFeatures(std::move(recording));
        return *window;
    }

    QQuickItem *Movie()
    {
        auto &player = static_cast<TQuickFlashPlayer &>(window->FlashControl()->Player());
        return player.RootItem();
    }

    // A left-button drag on the movie's surface, from and to scene points.
    void Drag(QPointF from, QPointF to)
    {
        QWidget *surface = window->FlashControl()->Widget();
        const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, surface->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QCoreApplication::sendEvent(surface, &event);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int step = 1; step <= 5; ++step)
            send(QEvent::MouseMove, from + (to - from) * step / 5.0, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    // Runs one of the movie's own functions, as its buttons do.
    void MovieAction(const char *function, const QVariantList &arguments = {})
    {
        switch (arguments.size()) {
        case 0: QMetaObject::invokeMethod(Movie(), function); break;
        case 1: QMetaObject::invokeMethod(Movie(), function, Q_ARG(QVariant, arguments[0])); break;
        default:
            QMetaObject::invokeMethod(Movie(), function, Q_ARG(QVariant, arguments[0]),
                                      Q_ARG(QVariant, arguments[1]));
        }
    }
};

TEST_F(EditorMovieTest, PhotosAddedAndDeletedThroughTheMovie)
{
    const QString project = TestDir() + QStringLiteral("trip.vlpj");
    WriteTestFile(project, "<Plexo/>");
    TFrmmain &main = OpenMovieWindow({project});
    main.show();
    ASSERT_NE(Movie(), nullptr);
    // "InitComplate" arrived: the project of the command line is opened.
    ASSERT_TRUE(waitFor([&] { return !features->calls.isEmpty(); }));
    EXPECT_EQ(features->calls, QStringList({QStringLiteral("OpenProject ") + project}));

    prompts.files = {{MakePicture(QStringLiteral("a.png"), 300, 200), MakePicture(QStringLiteral("b.jpg"), 200, 300)}};
    MovieAction("send", {QStringLiteral("AddPhoto"), QVariantList()});
    ASSERT_TRUE(waitFor([&] { return Movie()->property("photoCount").toInt() == 2; }));
    EXPECT_EQ(main.Project().Images()->Count(), 2);

    // Dragging the first thumbnail onto the second swaps them in the project too.
    const auto *grid = Movie()->findChild<QQuickItem *>(QStringLiteral("photoGrid"));
    ASSERT_NE(grid, nullptr);
    const qreal cell = grid->property("cellWidth").toReal();
    const auto indexAt = [&](qreal x, qreal y) {
        int index = -1;
        QMetaObject::invokeMethod(const_cast<QQuickItem *>(grid), "indexAt", Q_RETURN_ARG(int, index),
                                  Q_ARG(qreal, x), Q_ARG(qreal, y));
        return index;
    };
    // The view lays its thumbnails out when it is next drawn.
    ASSERT_TRUE(waitFor([&] { return indexAt(cell * 1.5, cell / 2) == 1; }));
    Drag(grid->mapToScene(QPointF(cell / 2, cell / 2)), grid->mapToScene(QPointF(cell * 1.5, cell / 2)));
    ASSERT_TRUE(waitFor([&] { return main.Project().Images()->Items(0)->SrcFile().endsWith(QStringLiteral("b.jpg")); }));

    // The dragged photo stays selected; deleting it from the movie removes it from the project.
    MovieAction("deleteSelected");
    ASSERT_TRUE(waitFor([&] { return main.Project().Images()->Count() == 1; }));
    EXPECT_EQ(Movie()->property("photoCount").toInt(), 1);
    EXPECT_EQ(main.Project().Images()->Items(0)->SrcFile(), TestDir() + QStringLiteral("b.jpg"));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(EditorMovieTest, TemplateChoiceReachesTheProjectAndSettingsReachTheMovie)
{
    TFrmmain &main = OpenMovieWindow({});
    ASSERT_NE(Movie(), nullptr);
    // The movie reads the catalogue itself.
    ASSERT_TRUE(waitFor([&] { return Movie()->property("templateCount").toInt() == 1; }));
    MovieAction("chooseTemplate", {0});
    ASSERT_TRUE(waitFor([&] { return main.TemplateSelected(); }));
    EXPECT_EQ(main.Project().Template()->TemplateID(), 7);
    EXPECT_EQ(main.Project().Template()->SelectOffset(), 1200u);
    EXPECT_EQ(main.Project().Template()->SelectSize(), 10000u);

    main.Project().Template()->SetDragType(st_Auto);
    SendWindowMessage(&main, WindowMessage::TemplateChanged, 0, 1);
    EXPECT_EQ(Movie()->property("templateInfo").toMap().value(QStringLiteral("dragtype")).toString(),
              QStringLiteral("auto move"));

    // A right click on the movie opens the movie's own menu, through the host.
    QWidget *surface = main.FlashControl()->Widget();
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(50, 50), surface->mapToGlobal(QPointF(50, 50)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(surface, &right);
    EXPECT_FALSE(Movie()->property("contextMenuShown").toBool());
    ASSERT_TRUE(waitFor([&] { return Movie()->property("contextMenuShown").toBool(); }));

    // Calling a function the movie lacks is an error for the caller.
    EXPECT_THROW(main.FlashControl()->CallFunction(MakeInvokeText(QStringLiteral("NoSuchFunction"))), AppError);
    EXPECT_NO_THROW(main.FlashControl()->StopPlay());
}
