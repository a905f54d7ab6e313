#include "publish/UProcess.h"

#include "UCommonPart.h"
#include "UMainSkin.h"
#include "ULanguage.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Desktop.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/WindowMessages.h"
#include "project/UDataDef.h"
#include "project/UPublicFunction.h"
#include "publish/UOutputFiles.h"
#include "publish/UPublishFlash.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

TFrmProcess::TFrmProcess(QWidget *mainWindow, TProjItem &project, int kind)
    : TBaseFrm(mainWindow, QStringLiteral("FrmProcess"), QStringLiteral("Publishing"), QSize(454, 221)),
      Project(project), Kind(kind), MainWindow(mainWindow)
{
    BtnClose->hide();
    BtnSubClose = MakeSkinButton(this, QStringLiteral("BtnSubClose"), SkinButton::Close);
    BtnSubClose->setGeometry(width() - 26, 2, 19, 23);
    connect(BtnSubClose, &QToolButton::clicked, this, [this] {
        BtnCancelClick();
        reject();
    });

    edtShow = new QLabel(this);
    edtShow->setObjectName(QStringLiteral("edtShow"));
    edtShow->setGeometry(24, 62, 406, 20);
    edtShow->setStyleSheet(QStringLiteral("color: rgb(220,220,220); background: transparent;"));
    progressbar = new QProgressBar(this);
    progressbar->setObjectName(QStringLiteral("progressbar"));
    progressbar->setRange(0, 100);
    progressbar->setValue(0);
    progressbar->setGeometry(24, 92, 406, 22);
    progressbar->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid rgb(111,111,111); border-radius: 3px; background: rgb(34,34,34);"
        " color: rgb(230,230,230); text-align: center; }"
        "QProgressBar::chunk { background: rgb(230,140,40); }"));
    BtnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(355, 178, 75, 25);
    StyleFormButton(BtnCancel);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrmProcess::BtnCancelClick);

    FormCreate();
    BtnSubClose->raise();
}

TFrmProcess::~TFrmProcess()
{
    // A running mix is cancelled and waited for, so no notification outlives the window.
    Mix.reset();
    // The worker may be waiting for a progress report to be handled: release it first.
    Sender.Close();
    ExportThread.reset();
    DeleteFolder(ProgramFile(QStringLiteral("Temp")));
}

void TFrmProcess::showEvent(QShowEvent *event)
{
    TBaseFrm::showEvent(event);
    if (Started)
        return;
    Started = true;
    if (Project.Audios()->Count() == 0)
        PostWindowMessage(this, StartExportMessage);
    else
        MixMusic();
}

void TFrmProcess::MixMusic()
{
    // The library notifies on its own thread; each notification is handled here as a message.
    Mix = std::make_unique<TMusicMix>([this](int code, int value) {
        PostWindowMessage(this, MixProgressMessage, code, value);
    });
    // Without a usable music file the movie is made without music, as after a failed mix.
    if (!Mix->MixMusic(*Project.Audios(), MixedMusicPath()))
        PostWindowMessage(this, StartExportMessage);
}

void TFrmProcess::MixProgress(int code, qint64 value)
{
    switch (code) {
    case 0:
        progressbar->setValue(Mix ? Mix->Percent(int(value)) : 0);
        break;
    case 1:
        progressbar->setValue(100);
        StartExport();
        break;
    case 2:
        progressbar->setValue(0);
        edtShow->setText(PublishStageText(1));
        break;
    default:
        break;
    }
}

void TFrmProcess::StartExport()
{
    if (Project.CancelRequested()) {
        close();
        return;
    }
    ExportThread = std::make_unique<TExportThread>(Project, this, Sender);
    ExportThread->start();
}

void TFrmProcess::BtnCancelClick()
{
    Project.SetCancelRequested(true);
    if (Mix)
        Mix->Cancel();
    if (ExportThread)
        ExportThread->requestInterruption();
}

void TFrmProcess::Progress(int percent, int stage)
{
    if (stage == PublishStagePack) {
        edtShow->setText(PublishStageText(3));
        repaint();
    } else if (stage == PublishStagePhotos) {
        edtShow->setText(PublishStageText(2));
    }
    progressbar->setValue(std::clamp(percent, 0, 100));
}

bool TFrmProcess::event(QEvent *event)
{
    // Only the window's own messages are TMessageEvents.
    const auto message = [event] { return static_cast<TMessageEvent *>(event); };
    switch (int(event->type())) {
    case StartExportMessage:
        StartExport();
        return true;
    case MixProgressMessage:
        MixProgress(int(message()->wParam()), message()->lParam());
        return true;
    case PublishProgressMessage:
        Progress(int(message()->wParam()), int(message()->lParam()));
        Sender.Handled();
        return true;
    case PublishNoticeMessage:
        ShowMessage(this, message()->text());
        Sender.Handled();
        return true;
    case PublishFinishedMessage:
        RunGuarded([this] { FinishOutput(); });
        close();
        return true;
    case PublishCancelledMessage:
        close();
        return true;
    case PublishFailedMessage:
        Failed();
        return true;
    default:
        return TBaseFrm::event(event);
    }
}

void TFrmProcess::Failed()
{
    ShowMessage(this, LangText(QStringLiteral("msg_failed_swf")));
    close();
}

void TFrmProcess::SuccessMessage()
{
    if (Prompts().Message(this, LangText(QStringLiteral("msg_publishsuccess")), ProductTitle(),
                          PromptButtons::OkCancel) == PromptAnswer::Ok)
        Desktop().ShowInFileManager(Project.OutputPath());
}

void TFrmProcess::FinishOutput()
{
    const QString movie = PackagedMoviePath();
    switch (Kind) {
    case 5:
        PostWindowMessage(MainWindow, WindowMessage::PreviewReady);
        break;
    case 1:
        MakeProgram(movie, Project.OutputPath(), ProgramFile(QStringLiteral("Slideplay.exe")));
        SuccessMessage();
        break;
    case 2:
        MakeWebPage(movie, Project.OutputPath(), Project.Seting()->Width(), Project.Seting()->Height());
        SuccessMessage();
        break;
    case 3:
        hide();
        SendByMail(Project.OutputPath());
        break;
    case 4:
        if (MakeScreenSaver(movie, Project.OutputPath(), ProgramFile(QStringLiteral("Saverhost.exe")))) {
            hide();
            InstallScreenSaver(Project.OutputPath());
        } else {
            ShowMessage(this, LangText(QStringLiteral("msg_failed_swf")));
        }
        break;
    default:
        SuccessMessage();
        break;
    }
}

void ShowPublishProgress(int kind, QWidget *mainWindow, TProjItem &project)
{
    project.SetCancelRequested(false);
    TFrmProcess window(mainWindow, project, kind);
    window.exec();
}
