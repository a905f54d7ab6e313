// Takes the screenshots of the dialogs and the progress window for docs/screenshots: each one is
// shown over a plain owner window on an X server (xvfb-run) and grabbed from the screen, so the
// rounded window shape shows. LUMIVUE_HOME names the program folder.
//   PictavoDialogShots OUTPUT_FOLDER
#include "UAbout.h"
#include "ULanguage.h"
#include "UMsgBox.h"
#include "USetDesText.h"
#include "platform/DefaultErrorHandler.h"
#include "project/ProjectDefaults.h"
#include "project/UDataDef.h"
#include "publish/UProcess.h"
#include "publish/UPublish.h"
#include "templates/UTemplateSet.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <cstdio>

namespace {

void settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Keeps the progress window from starting its worker, so it stays at the stage the shot sets.
class HoldStart final : public QObject {
public:
    bool eventFilter(QObject *, QEvent *event) override { return int(event->type()) == StartExportMessage; }
};

bool shoot(QWidget &dialog, const QString &file)
{
    dialog.show();
    dialog.raise();
    settle(600);
    const QRect place = dialog.frameGeometry().adjusted(-6, -6, 6, 6);
    const QPixmap shot = dialog.screen()->grabWindow(0, place.x(), place.y(), place.width(), place.height());
    dialog.hide();
    const bool saved = shot.save(file);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(file));
    return saved;
}

} // namespace

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: PictavoDialogShots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    LoadProgramLanguage();
    QWidget owner;
    owner.setStyleSheet(QStringLiteral("background: rgb(200,200,200);"));
    owner.setGeometry(40, 40, 940, 660);
    owner.show();

    TProjItem project;
    ApplyStartupValues(project);
    auto photo = std::make_unique<TImageObj>();
    photo->SetCaption(QStringLiteral("Harbour at dawn"));
    photo->SetDescription(QStringLiteral("The fishing boats come back in the first light."));
    photo->SetURL(QStringLiteral("https://www.vexasoft.com/gallery/harbour"));
    project.Images()->Add(std::move(photo));

    bool ok = true;
    {
        TFrmSetDecText dialog(&owner);
        dialog.edtTitle->setText(project.Images()->Items(0)->Caption());
        dialog.MemText->setPlainText(project.Images()->Items(0)->Description());
        dialog.EdtUrl->setText(project.Images()->Items(0)->URL());
        ok &= shoot(dialog, out + "description-dialog.png");
    }
    {
        TFrmMsgBox box(&owner);
        box.lblCode->setText(MissingFilesText(QStringLiteral("Trip.vlpj")));
        box.filelist->addItems({QStringLiteral("/home/anna/Pictures/harbour.jpg"),
                                QStringLiteral("/home/anna/Music/sea-breeze.mp3")});
        ok &= shoot(box, out + "missing-files-box.png");
    }
    {
        TFrmAbout about(&owner);
        ok &= shoot(about, out + "about-box.png");
    }
    {
        TFrmTemplateSet dialog(&owner, project);
        ok &= shoot(dialog, out + "template-settings.png");
    }
    {
        TFrmPublish dialog(&owner, project, 0, QDir::homePath());
        ok &= shoot(dialog, out + "publish-settings.png");
    }
    {
        TFrmProcess window(&owner, project, 0);
        HoldStart hold;
        window.installEventFilter(&hold);
        window.edtShow->setText(PublishStageText(2));
        window.progressbar->setValue(40);
        ok &= shoot(window, out + "progress-window.png");
    }
    return ok ? 0 : 1;
}
