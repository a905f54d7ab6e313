// Takes the README's screenshot: starts the main window with the real editor UI, answers the
// photo dialog with the pictures named on the command line, clicks "Add Photos" in the movie and
// grabs the screen. Run it on an X server (xvfb-run) with LUMIVUE_HOME naming a program folder:
//   PictavoMainWindowShot [--template N] out.png photo1.jpg photo2.jpg ...
// With --template the shot shows the template page with template N of the list chosen.

#include "ShockwaveEx.h"
#include "ULanguage.h"
#include "UMain.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Prompts.h"
#include "platform/QuickFlashPlayer.h"

#include <QElapsedTimer>
#include <QMouseEvent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <cstdio>

namespace {

class ChosenPhotos final : public TPrompts {
public:
    explicit ChosenPhotos(QStringList photos) : m_photos(std::move(photos)) {}
    PromptAnswer Message(QWidget *, const QString &text, const QString &, PromptButtons) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return PromptAnswer::Ok;
    }
    QStringList OpenFiles(QWidget *, const FileDialogRequest &) override { return m_photos; }
    QString SaveFile(QWidget *, const FileDialogRequest &) override { return {}; }

private:
    QStringList m_photos;
};

void settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void click(QWidget *surface, QPointF at)
{
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, surface->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &event);
    }
}

} // namespace

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QStringList arguments = app.arguments().mid(1);
    int chosenTemplate = -1;
    if (arguments.value(0) == QLatin1String("--template")) {
        chosenTemplate = arguments.value(1).toInt();
        arguments.remove(0, 2);
    }
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: PictavoMainWindowShot [--template N] out.png photo...\n");
        return 2;
    }
    ChosenPhotos prompts(arguments.mid(1));
    SetPrompts(&prompts);
    LoadProgramLanguage();
    TFrmmain window(
        [] { return std::unique_ptr<TShockwaveFlash>(std::make_unique<TQuickFlashPlayer>()); }, {});
    window.show();
    settle(1500);

    auto &player = static_cast<TQuickFlashPlayer &>(window.FlashControl()->Player());
    QQuickItem *button = player.RootItem() ? player.RootItem()->findChild<QQuickItem *>(QStringLiteral("addPhotos")) : nullptr;
    if (!button) {
        std::fprintf(stderr, "the editor UI did not load\n");
        return 1;
    }
    click(player.Widget(), button->mapToScene(QPointF(button->width() / 2, button->height() / 2)));
    settle(2500);
    if (chosenTemplate >= 0) {
        QMetaObject::invokeMethod(player.RootItem(), "chooseTemplate", Q_ARG(QVariant, chosenTemplate));
        player.RootItem()->setProperty("mainIndex", 1);
        settle(1500);
    }

    const QPixmap screen = window.screen()->grabWindow(0);
    const QPixmap shot = screen.copy(window.frameGeometry());
    if (!shot.save(arguments[0])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments[0]));
        return 1;
    }
    SetPrompts(nullptr);
    return 0;
}
