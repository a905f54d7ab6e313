// Takes the music dialog's screenshot for docs/screenshots: three music files with the second one
// trimmed, shown over a plain owner window on an X server (xvfb-run) and grabbed from the screen,
// so that the rounded window shape shows. LUMIVUE_HOME names the program folder.
//   PictavoMusicDialogShot OUTPUT_FILE
#include "ULanguage.h"
#include "music/UMusicSetting.h"
#include "music/VexaTrackBar.h"
#include "project/UDataDef.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QTreeWidget>
#include <cstdio>

namespace {

void Settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void AddMusic(TProjItem &project, const QString &file, qint64 length, qint64 begin, qint64 end)
{
    auto audio = std::make_unique<TAudio>();
    audio->SetFileName(file);
    audio->SetLength(length);
    audio->SetBeginTime(begin);
    audio->SetEndTime(end);
    audio->SetbFadeIn(true);
    audio->SetFadeOut(true);
    project.Audios()->Add(std::move(audio));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: PictavoMusicDialogShot OUTPUT_FILE\n");
        return 2;
    }
    LoadProgramLanguage();
    QWidget owner;
    // A palette, not a style sheet: a sheet would cascade into the dialog's own controls.
    QPalette plain = owner.palette();
    plain.setColor(QPalette::Window, QColor(200, 200, 200));
    owner.setPalette(plain);
    owner.setAutoFillBackground(true);
    owner.setGeometry(40, 40, 640, 500);
    owner.show();

    TProjItem project;
    project.Seting()->SetMusicLoop(true);
    AddMusic(project, QStringLiteral("/home/anna/Music/Morning harbour.mp3"), 214, 0, 214);
    AddMusic(project, QStringLiteral("/home/anna/Music/Gulls and tide.ogg"), 187, 32, 141);
    AddMusic(project, QStringLiteral("/home/anna/Music/Evening lights.wav"), 95, 0, 95);

    TFrmMusicSet dialog(&owner, project);
    dialog.show();
    dialog.raise();
    Settle(300);
    dialog.FileList->setCurrentItem(dialog.FileList->topLevelItem(1));
    dialog.atbClip->SetPosition(58);
    Settle(500);
    const QRect place = dialog.frameGeometry().adjusted(-6, -6, 6, 6);
    const QPixmap shot = dialog.screen()->grabWindow(0, place.x(), place.y(), place.width(), place.height());
    const bool saved = shot.save(QString::fromLocal8Bit(argv[1]));
    std::printf("%s %s\n", saved ? "wrote" : "could not write", argv[1]);
    return saved ? 0 : 1;
}
