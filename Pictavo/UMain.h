#pragma once
// The main window: a frameless window with its own drawn title bar and status bar, hosting the
// editor UI control, and the host side of the editor UI bridge.

#include "URecentFolders.h"
#include "platform/ShockwaveFlash.h"

#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QToolButton;
class TFlashRequest;
class TMainFeatures;
class TProjItem;
class TShockwaveFlashEx;
class TInstanceChannel;
struct InstanceMessage;

class TFrmmain final : public QWidget {
    Q_OBJECT
public:
    // `makeControl` makes the editor UI control; when it raises, the window opens without one.
    // `parameters`: the command line after the program name.
    TFrmmain(const FlashControlFactory &makeControl, QStringList parameters,
             QWidget *parent = nullptr);
    ~TFrmmain() override;

    TProjItem &Project() { return *m_project; }
    TRecentFolders &RecentFolders() { return m_recentFolders; }
    // The editor UI control; null when it could not be made.
    TShockwaveFlashEx *FlashControl() { return m_flash.get(); }
    QProgressBar *ProgressBar() { return m_processAddImg; }
    TMainFeatures &Features() { return *m_features; }
    void SetFeatures(std::unique_ptr<TMainFeatures> features);

    // The current project file; empty for an untitled project.
    const QString &ProjectFileName() const { return m_projectFileName; }
    void SetProjectFileName(const QString &path);
    bool TemplateSelected() const { return m_templateSelected; }

    // Calls the editor UI function with string arguments; does nothing without a control.
    void CallUI(const QString &function, const QStringList &arguments = {});
    // Sends an invoke text built elsewhere.
    void CallUIText(const QString &invokeText);
    // "SetReLoadImage", then StopPlay, once a template was selected.
    void RequestReloadImages();
    void RefreshPhotoCount();
    // The window region and the control's size.
    void ShapeWindow();
    // Whether the window may close (asks to save a changed project).
    bool CloseQuery();

    // Delivered by the single-instance channel.
    void HandleInstanceMessage(const InstanceMessage &message);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    class MessageHook;

    void BuildControls();
    void LayoutTitleButtons();
    void ApplyProjectDefaults();
    void CreateFlashControl(const FlashControlFactory &makeControl);

    void BtnmaxClick();
    void BtnNormalClick();
    void BtnMinClick();
    void BtnCloseClick();

    void flashplayerFlashCall(const QString &request);
    void HandleUICommand(const QString &request);
    void HandleCopyData(const QByteArray &data);
    void RestoreApplication();

    // Commands of the editor UI.
    void CmdAddPhoto(const TFlashRequest &request);
    void CmdBuildSWF(const TFlashRequest &request);
    void CmdBuildEXE(const TFlashRequest &request);
    void CmdBuildSRC(const TFlashRequest &request);
    void CmdBuildHTML(const TFlashRequest &request);
    void CmdBuildEmail(const TFlashRequest &request);
    void CmdEditPhoto(const TFlashRequest &request);
    void CmdDelPhoto(const TFlashRequest &request);
    void CmdRefreshPhoto(const TFlashRequest &request);
    void CmdMenuNew(const TFlashRequest &request);
    void CmdMenuOpen(const TFlashRequest &request);
    void CmdMenuSave(const TFlashRequest &request);
    void CmdMenuSaveAs(const TFlashRequest &request);
    void CmdMenuExit(const TFlashRequest &request);
    void CmdMenuHelp(const TFlashRequest &request);
    void CmdMenuSupport(const TFlashRequest &request);
    void CmdMenuAbout(const TFlashRequest &request);
    void CmdTemplateSelected(const TFlashRequest &request);
    void CmdSetDesction(const TFlashRequest &request);
    void CmdAddMusic(const TFlashRequest &request);
    void CmdSetTemplate(const TFlashRequest &request);
    void CmdInitComplate(const TFlashRequest &request);
    void CmdPreViewFlash(const TFlashRequest &request);

    void PublishCommand(int kind);
    QStringList ChoosePhotoFiles();

    struct Command {
        const char16_t *name;
        void (TFrmmain::*run)(const TFlashRequest &);
    };
    static const Command Commands[];

    std::unique_ptr<TProjItem> m_project;
    std::unique_ptr<TMainFeatures> m_features;
    std::unique_ptr<TShockwaveFlashEx> m_flash;
    std::unique_ptr<MessageHook> m_hook;
    TRecentFolders m_recentFolders;
    QStringList m_parameters;
    QString m_projectFileName;
    bool m_templateSelected = false;
    std::optional<QPoint> m_dragStart; // where a press on the title or status bar began

    QWidget *m_topPanel = nullptr;
    QWidget *m_pan = nullptr;
    QWidget *m_bottomPanel = nullptr;
    QLabel *m_image1 = nullptr, *m_image2 = nullptr, *m_image3 = nullptr;
    QLabel *m_image4 = nullptr, *m_image5 = nullptr, *m_image6 = nullptr;
    QLabel *m_imgIcon = nullptr;
    QLabel *m_labCaption = nullptr;
    QLabel *m_lblFileName = nullptr;
    QLabel *m_labImageCount = nullptr;
    QProgressBar *m_processAddImg = nullptr;
    QToolButton *m_btnMax = nullptr, *m_btnMin = nullptr, *m_btnNormal = nullptr,
                *m_btnClose = nullptr;
};

// The checks before the main window is made: a control can be created (otherwise the player
// message, exit code 1) and no other instance runs (otherwise it gets this start's first
// parameter and comes to the front, exit code 0). Nothing when the window may be made.
std::optional<int> CheckBeforeWindow(const FlashControlFactory &makeControl,
                                     const QStringList &parameters, TInstanceChannel &channel);

// The program's start with its window: language, control check, single instance, main window,
// event loop. Returns the exit code.
int RunGalleryMaker(int argc, char **argv);
