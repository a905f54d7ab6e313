#pragma once
// The progress window of a publish. With music, stage 1 mixes it into Temp/TempMusic.mp3; then
// the worker runs stages 2 and 3 while the window shows the stage and a percentage, and at the end
// the window finishes the product of the output kind: a success message, the program or web page
// built from the movie, the screen saver installed, the e-mail program started, or the preview
// handed to the main window. Temp/ is removed when the window goes.

#include "UBaseFrom.h"
#include "publish/UMixMusic.h"
#include "publish/UPublishThread.h"

#include <memory>

class QProgressBar;
class QPushButton;
class QToolButton;
class TProjItem;

// Posted to the window by itself to start the worker.
constexpr int StartExportMessage = 0x1778;
// Mixing progress, posted by the mixing library's callback: wParam the code, lParam the value.
constexpr int MixProgressMessage = 0x1779;

class TFrmProcess : public TBaseFrm {
    Q_OBJECT
public:
    // `mainWindow` (also the owner) receives 0x177B when a preview is ready.
    TFrmProcess(QWidget *mainWindow, TProjItem &project, int kind);
    ~TFrmProcess() override;

    QProgressBar *progressbar = nullptr;
    QLabel *edtShow = nullptr;
    QPushButton *BtnCancel = nullptr;
    QToolButton *BtnSubClose = nullptr;

    // Both cancel buttons: the running stage stops at its next check.
    void BtnCancelClick();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Stage 1. The project's music is mixed into Temp/TempMusic.mp3 before the worker starts; a
    // publish goes on without music when the mix cannot be made. The mix reports through
    // MixProgressMessage: code 2 when it starts, 0 with the seconds written, 1 at its end, which
    // starts the worker.
    void MixMusic();
    void MixProgress(int code, qint64 value);
    void StartExport();
    void Progress(int percent, int stage);
    void Failed();
    void FinishOutput();
    void SuccessMessage();

    TProjItem &Project;
    const int Kind;
    QWidget *const MainWindow;
    TSentProgress Sender{this};
    std::unique_ptr<TMusicMix> Mix;
    std::unique_ptr<TExportThread> ExportThread;
    bool Started = false;
};

// Clears the project's cancel request, shows the progress window of output kind `kind` modally
// over `mainWindow` and frees it when it closes.
void ShowPublishProgress(int kind, QWidget *mainWindow, TProjItem &project);
