#include "UMain.h"

#include "Multilingual.h"
#include "ParseFlashFunc.h"
#include "ShockwaveEx.h"
#include "UCommonPart.h"
#include "ULanguage.h"
#include "UMainFeatures.h"
#include "UMainSkin.h"
#include "UPhotoList.h"
#include "UProjectCommands.h"
#include "platform/AppError.h"
#include "platform/DefaultErrorHandler.h"
#include "platform/Desktop.h"
#include "platform/HelpFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/QuickFlashPlayer.h"
#include "platform/SingleInstance.h"
#include "platform/WindowMessages.h"
#include "project/UDataDef.h"
#include "project/UPublicFunction.h"
#include "templates/TemplateCatalog.h"
#include "templates/TemplateInfo.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainterPath>
#include <QProgressBar>
#include <QQuickWindow>
#include <QScreen>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>

namespace {

constexpr int TitleHeight = 26;
constexpr int StatusHeight = 24;
constexpr int CornerEllipse = 11;

QString flashDownloadPage()
{
    return QStringLiteral("https://www.vexasoft.com/player/");
}

// The program's way of opening a page: the browser, given the address.
void openWebPage(const QString &address)
{
    Desktop().OpenUrl(QUrl(address));
}

// A rounded-rectangle region from (0, 0) to (right, bottom) with corner ellipses of the given
// size, as the window region takes it.
QRegion roundedRegion(int right, int bottom, int ellipse)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, right, bottom), ellipse / 2.0, ellipse / 2.0);
    return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

} // namespace

// The application-wide message hook: a right press on the editor UI control never reaches it
// (so it shows no menu of its own); the UI is asked for its context menu instead.
class TFrmmain::MessageHook final : public QObject {
public:
    explicit MessageHook(TFrmmain &window) : m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonPress ||
            static_cast<QMouseEvent *>(event)->button() != Qt::RightButton ||
            !watched->isWidgetType() || watched->objectName() != QLatin1String(FlashWindowClass))
            return false;
        PostWindowMessage(&m_window, WindowMessage::UIContextMenu);
        return true;
    }

private:
    TFrmmain &m_window;
};

// The commands of the editor UI, tested in this order; names match exactly.
const TFrmmain::Command TFrmmain::Commands[] = {
    {u"AddPhoto", &TFrmmain::CmdAddPhoto},
    {u"BuildSWF", &TFrmmain::CmdBuildSWF},
    {u"BuildEXE", &TFrmmain::CmdBuildEXE},
    {u"BuildSRC", &TFrmmain::CmdBuildSRC},
    {u"BuildHTML", &TFrmmain::CmdBuildHTML},
    {u"BuildEmail", &TFrmmain::CmdBuildEmail},
    {u"EditPhoto", &TFrmmain::CmdEditPhoto},
    {u"DelPhoto", &TFrmmain::CmdDelPhoto},
    {u"RefreshPhoto", &TFrmmain::CmdRefreshPhoto},
    {u"Menu_New", &TFrmmain::CmdMenuNew},
    {u"Menu_Open", &TFrmmain::CmdMenuOpen},
    {u"Menu_Save", &TFrmmain::CmdMenuSave},
    {u"Menu_SaveAs", &TFrmmain::CmdMenuSaveAs},
    {u"Menu_Exit", &TFrmmain::CmdMenuExit},
    {u"Menu_Help", &TFrmmain::CmdMenuHelp},
    {u"Menu_Support", &TFrmmain::CmdMenuSupport},
    {u"Menu_ABout", &TFrmmain::CmdMenuAbout},
    {u"Template_Selected", &TFrmmain::CmdTemplateSelected},
    {u"SetDesction", &TFrmmain::CmdSetDesction},
    {u"AddMusic", &TFrmmain::CmdAddMusic},
    {u"SetTemplate", &TFrmmain::CmdSetTemplate},
    {u"InitComplate", &TFrmmain::CmdInitComplate},
    {u"PreViewFlash", &TFrmmain::CmdPreViewFlash},
};

TFrmmain::TFrmmain(const FlashControlFactory &makeControl, QStringList parameters, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_features(std::make_unique<TMainFeatures>()),
      m_hook(std::make_unique<MessageHook>(*this)),
      m_parameters(std::move(parameters))
{
    setObjectName(QStringLiteral("Frmmain"));
    BuildControls();
    ApplyLanguage(this);
    qApp->installEventFilter(m_hook.get());
    ResetObjectIds();
    m_project = std::make_unique<TProjItem>();
    ApplyProjectDefaults();
    ShapeWindow();
    CreateFlashControl(makeControl);
    ShapeWindow();
    m_labCaption->setText(ProductTitle());
    m_labCaption->adjustSize();
    setWindowTitle(ProductTitle());
    QCoreApplication::setApplicationName(ProductTitle());
}

TFrmmain::~TFrmmain()
{
    qApp->removeEventFilter(m_hook.get());
}

void TFrmmain::SetFeatures(std::unique_ptr<TMainFeatures> features)
{
    m_features = std::move(features);
}

void TFrmmain::BuildControls()
{
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(985, 720);
    if (const QScreen *display = screen())
        move(display->availableGeometry().center() - rect().center());

    m_topPanel = new QWidget(this);
    m_topPanel->setObjectName(QStringLiteral("TopPanel"));
    m_topPanel->setFixedHeight(TitleHeight);
    m_image2 = MakeSkinPicture(m_topPanel, QStringLiteral("Image2"), SkinPicture::TitleLeft);
    m_image3 = MakeSkinPicture(m_topPanel, QStringLiteral("Image3"), SkinPicture::TitleMiddle);
    m_image1 = MakeSkinPicture(m_topPanel, QStringLiteral("Image1"), SkinPicture::TitleRight);
    auto *top = new QHBoxLayout(m_topPanel);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    top->addWidget(m_image2);
    top->addWidget(m_image3, 1);
    top->addWidget(m_image1);
    m_imgIcon = MakeSkinPicture(m_topPanel, QStringLiteral("imgIcon"), SkinPicture::Icon);
    m_imgIcon->setGeometry(2, 2, 22, 22);
    m_labCaption = new QLabel(m_topPanel);
    m_labCaption->setObjectName(QStringLiteral("LabCaption"));
    m_labCaption->setFont(QFont(QStringLiteral("Tahoma"), 10, QFont::Bold));
    m_labCaption->setStyleSheet(QStringLiteral("color: rgb(230, 230, 230);"));
    m_labCaption->move(28, 5);
    m_btnMin = MakeSkinButton(m_topPanel, QStringLiteral("BtnMin"), SkinButton::Minimise);
    m_btnMax = MakeSkinButton(m_topPanel, QStringLiteral("Btnmax"), SkinButton::Maximise);
    m_btnNormal = MakeSkinButton(m_topPanel, QStringLiteral("BtnNormal"), SkinButton::Restore);
    m_btnClose = MakeSkinButton(m_topPanel, QStringLiteral("BtnClose"), SkinButton::Close);
    m_btnNormal->hide();
    connect(m_btnMax, &QToolButton::clicked, this, [this] { BtnmaxClick(); });
    connect(m_btnNormal, &QToolButton::clicked, this, [this] { BtnNormalClick(); });
    connect(m_btnMin, &QToolButton::clicked, this, [this] { BtnMinClick(); });
    connect(m_btnClose, &QToolButton::clicked, this, [this] { BtnCloseClick(); });
    m_topPanel->installEventFilter(this);

    m_pan = new QWidget(this);
    m_pan->setObjectName(QStringLiteral("Pan"));
    m_pan->setAutoFillBackground(true);
    QPalette dark = m_pan->palette();
    dark.setColor(QPalette::Window, QColor(48, 48, 48));
    m_pan->setPalette(dark);

    m_bottomPanel = new QWidget(this);
    m_bottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    m_bottomPanel->setFixedHeight(StatusHeight);
    m_bottomPanel->setAutoFillBackground(true);
    QPalette grey = m_bottomPanel->palette();
    grey.setColor(QPalette::Window, QColor(207, 204, 204));
    m_bottomPanel->setPalette(grey);
    m_image4 = MakeSkinPicture(m_bottomPanel, QStringLiteral("Image4"), SkinPicture::StatusLeft);
    m_image6 = MakeSkinPicture(m_bottomPanel, QStringLiteral("Image6"), SkinPicture::StatusMiddle);
    m_image5 = MakeSkinPicture(m_bottomPanel, QStringLiteral("Image5"), SkinPicture::StatusRight);
    m_lblFileName = new QLabel(m_bottomPanel);
    m_lblFileName->setObjectName(QStringLiteral("lblFileName"));
    m_processAddImg = new QProgressBar(m_bottomPanel);
    m_processAddImg->setObjectName(QStringLiteral("ProcessAddImg"));
    m_processAddImg->setFixedSize(168, 14);
    m_processAddImg->setRange(0, 100);
    m_processAddImg->setTextVisible(false);
    m_processAddImg->hide();
    m_labImageCount = new QLabel(m_bottomPanel);
    m_labImageCount->setObjectName(QStringLiteral("LabImageCount"));
    auto *bottom = new QHBoxLayout(m_bottomPanel);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    bottom->addWidget(m_image4);
    bottom->addSpacing(6);
    bottom->addWidget(m_lblFileName);
    bottom->addStretch(1);
    bottom->addWidget(m_processAddImg);
    bottom->addSpacing(12);
    bottom->addWidget(m_labImageCount);
    bottom->addSpacing(8);
    bottom->addWidget(m_image5);
    // The middle picture lies under the labels and stretches with the panel.
    m_image6->lower();
    m_bottomPanel->installEventFilter(this);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_topPanel);
    column->addWidget(m_pan, 1);
    column->addWidget(m_bottomPanel);

    for (QLabel *picture : {m_image1, m_image2, m_image3, m_image4, m_image5, m_image6, m_imgIcon})
        picture->installEventFilter(this);
    m_labCaption->installEventFilter(this);
}

void TFrmmain::LayoutTitleButtons()
{
    // Btnmax and BtnNormal share one place; only one of them shows at a time.
    const int right = m_topPanel->width() - 6;
    m_btnClose->move(right - 19, 2);
    m_btnMax->move(right - 2 * 19 - 2, 2);
    m_btnNormal->move(m_btnMax->pos());
    m_btnMin->move(right - 3 * 19 - 4, 2);
    m_image6->setGeometry(0, 0, m_bottomPanel->width(), m_bottomPanel->height());
}

void TFrmmain::ApplyProjectDefaults()
{
    m_recentFolders.Load();
    TSeting *seting = m_project->Seting();
    seting->SetWidth(960);
    seting->SetHeight(540);
    seting->SetImgQuality(85);
    seting->SetMusicLoop(true);
    seting->SetOutType(st_169);
    TTemplate *templ = m_project->Template();
    templ->SetUseBgImage(false);
    templ->SetUseFrame(false);
    templ->SetUseLight(true);
    templ->SetUseFill(false);
    templ->SetAutoDelay(5);
    templ->SetAutoLoop(false);
    templ->SetAutoPlay(false);
    templ->SetFullPlay(false);
    if (const auto range = LookupTemplateRange(0)) {
        templ->SetSelectOffset(range->Offset);
        templ->SetSelectSize(range->Size);
    }
    templ->SetDragType(st_Drag);
    CopyDefaultPreviewImages();
}

void TFrmmain::CreateFlashControl(const FlashControlFactory &makeControl)
{
    try {
        m_flash = std::make_unique<TShockwaveFlashEx>(makeControl());
    } catch (const std::exception &) {
        const PromptAnswer answer = Prompts().Message(
            nullptr, LangText(QStringLiteral("msg_you_need_the_last")),
            LangText(QStringLiteral("msg_flash_player_detection")), PromptButtons::OkCancel);
        if (answer == PromptAnswer::Ok)
            openWebPage(flashDownloadPage());
        return;
    }
    QWidget *control = m_flash->Widget();
    control->setParent(m_pan);
    control->setGeometry(0, 0, m_pan->width(), m_pan->height());
    control->show();
    m_flash->SetOnFlashCall([this](const QString &request) { flashplayerFlashCall(request); });
    const QString movie = ProgramFolder() + QStringLiteral("libavcodec.dll");
    if (QFileInfo::exists(movie))
        m_flash->SetMovie(movie);
}

void TFrmmain::SetProjectFileName(const QString &path)
{
    m_projectFileName = path;
    m_lblFileName->setText(path.isEmpty() ? LangText(QStringLiteral("frm_main_untitle")) : path);
}

void TFrmmain::ShapeWindow()
{
    setMask(roundedRegion(width() + 1, height() + 1, CornerEllipse));
    if (m_flash) {
        layout()->activate();
        m_flash->Widget()->setGeometry(0, 0, m_pan->width(), m_pan->height());
    }
}

void TFrmmain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (const QScreen *display = screen()) {
        const QRect workArea = display->availableGeometry();
        setMaximumSize(workArea.size());
        if (isMaximized() && geometry() != workArea)
            setGeometry(workArea);
    }
    ShapeWindow();
}

bool TFrmmain::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == m_topPanel || watched == m_bottomPanel) && event->type() == QEvent::Resize) {
        LayoutTitleButtons();
        return false;
    }
    if (watched == m_image3 && event->type() == QEvent::MouseButtonDblClick) {
        if (windowState() != Qt::WindowNoState)
            BtnNormalClick();
        else
            BtnmaxClick();
        return true;
    }
    if (watched == m_topPanel || watched == m_bottomPanel)
        return false;
    // Dragging the title bar or status bar pictures moves the window. The move starts once the
    // pointer has moved a little, so that a double click still reaches the title bar.
    if (event->type() == QEvent::MouseButtonPress) {
        m_dragStart = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        return true;
    }
    if (event->type() == QEvent::MouseMove && m_dragStart && !isMaximized()) {
        const QPoint at = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        if ((at - *m_dragStart).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragStart.reset();
            if (QWindow *handle = windowHandle())
                handle->startSystemMove();
        }
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease)
        m_dragStart.reset();
    return false;
}

void TFrmmain::BtnmaxClick()
{
    if (isMaximized())
        return;
    showMaximized();
    m_btnNormal->show();
    m_btnMax->hide();
}

void TFrmmain::BtnNormalClick()
{
    if (windowState() == Qt::WindowNoState)
        return;
    showNormal();
    m_btnNormal->hide();
    m_btnMax->show();
}

void TFrmmain::BtnMinClick()
{
    showMinimized();
}

void TFrmmain::BtnCloseClick()
{
    close();
}

void TFrmmain::RefreshPhotoCount()
{
    m_labImageCount->setText(QString::number(m_project->Images()->Count()) + u' ' +
                             LangText(QStringLiteral("frm_main_unit")));
}

bool TFrmmain::CloseQuery()
{
    return ConfirmDiscard(*this);
}

void TFrmmain::closeEvent(QCloseEvent *event)
{
    bool mayClose = false;
    RunGuarded([&] { mayClose = CloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    m_recentFolders.Save();
    DeleteFolder(WorkFolder());
    ReleaseLanguage();
    event->accept();
}

void TFrmmain::CallUIText(const QString &invokeText)
{
    if (m_flash)
        m_flash->CallFunction(invokeText);
}

void TFrmmain::CallUI(const QString &function, const QStringList &arguments)
{
    CallUIText(MakeInvokeText(function, arguments));
}

void TFrmmain::RequestReloadImages()
{
    if (!m_templateSelected)
        return;
    CallUI(QStringLiteral("SetReLoadImage"));
    if (m_flash)
        m_flash->StopPlay();
}

void TFrmmain::flashplayerFlashCall(const QString &request)
{
    // The command runs later from the event loop, never inside the control's call.
    PostWindowMessage(this, WindowMessage::UICommand, 0, 0, request);
}

bool TFrmmain::event(QEvent *event)
{
    switch (int(event->type())) {
    case WindowMessage::UICommand: {
        const QString request = static_cast<TMessageEvent *>(event)->text();
        RunGuarded([&] { HandleUICommand(request); });
        return true;
    }
    case WindowMessage::UIContextMenu:
        RunGuarded([&] { CallUI(QStringLiteral("PopuRightMenu")); });
        return true;
    case WindowMessage::Repaint:
        repaint();
        return true;
    case WindowMessage::TemplateChanged: {
        const qint64 lParam = static_cast<TMessageEvent *>(event)->lParam();
        RunGuarded([&] {
            CallUI(QStringLiteral("SetTemplateInfo"), {MakeTemplateInfoXml(*m_project->Template())});
            if (lParam == 1)
                CallUI(QStringLiteral("ReLoadSelectedTemplate"));
        });
        return true;
    }
    case WindowMessage::PreviewReady:
        RunGuarded([&] {
            const QString movie = WorkFolder() + QStringLiteral("TempFlash.swf");
            if (QFileInfo::exists(movie))
                CallUI(QStringLiteral("PreViewFlash"), {movie});
        });
        return true;
    case WindowMessage::PhotoEdited: {
        auto *message = static_cast<TMessageEvent *>(event);
        RunGuarded([&] { m_features->PhotoEdited(*this, message->wParam(), message->lParam()); });
        return true;
    }
    case WindowMessage::Restore:
        RestoreApplication();
        return true;
    default:
        return QWidget::event(event);
    }
}

void TFrmmain::HandleInstanceMessage(const InstanceMessage &message)
{
    switch (message.message) {
    case WindowMessage::CopyData:
        RunGuarded([&] { HandleCopyData(message.data); });
        break;
    case WindowMessage::PhotoEdited:
    case WindowMessage::Repaint:
    case WindowMessage::Restore:
        PostWindowMessage(this, int(message.message), message.wParam, message.lParam);
        break;
    default:
        break;
    }
}

void TFrmmain::HandleCopyData(const QByteArray &data)
{
    const QString path = TInstanceChannel::PathFromCopyData(data);
    if (!path.isEmpty() && QFileInfo(path).isFile())
        m_features->OpenProject(*this, path);
    RestoreApplication();
}

void TFrmmain::RestoreApplication()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TFrmmain::HandleUICommand(const QString &request)
{
    const TFlashRequest parsed(request);
    for (const Command &command : Commands) {
        if (parsed.Name() == QStringView(command.name)) {
            (this->*command.run)(parsed);
            return;
        }
    }
}

QStringList TFrmmain::ChoosePhotoFiles()
{
    FileDialogRequest dialog;
    dialog.filter = PictureFileFilter();
    dialog.initialFolder = m_recentFolders.Folder(TRecentFolders::PhotoFolder);
    dialog.multiSelect = true;
    const QStringList files = Prompts().OpenFiles(this, dialog);
    if (!files.isEmpty()) {
        m_recentFolders.SetFolder(TRecentFolders::PhotoFolder, QFileInfo(files.first()).absolutePath());
        repaint();
    }
    return files;
}

void TFrmmain::CmdAddPhoto(const TFlashRequest &)
{
    if (!CheckPhotoLimit(*m_project, this))
        return;
    const QStringList files = ChoosePhotoFiles();
    if (files.isEmpty())
        return;
    CallUIText(ImportPhotos(*m_project, files, m_processAddImg));
    RefreshPhotoCount();
    RequestReloadImages();
    CheckPhotoLimit(*m_project, this);
}

void TFrmmain::PublishCommand(int kind)
{
    if (!CheckHasPhotos(*m_project, this))
        return;
    const std::optional<PublishChoice> choice = m_features->PublishSettings(*this, kind);
    m_project->SetOutputKind(uint8_t(kind));
    if (!choice)
        return;
    repaint();
    TSeting *seting = m_project->Seting();
    seting->SetWidth(int(std::lround(choice->width)));
    seting->SetHeight(int(std::lround(choice->height)));
    static constexpr int qualities[] = {50, 85, 100};
    if (choice->qualityIndex >= 0 && choice->qualityIndex < 3)
        seting->SetImgQuality(qualities[choice->qualityIndex]);
    seting->SetOutPut(choice->outputFolder);
    seting->SetOutType(choice->aspect == PublishChoice::Wide169     ? st_169
                       : choice->aspect == PublishChoice::Classic43 ? st_43
                                                                    : st_Custom);
    m_features->Export(*this, kind);
}

void TFrmmain::CmdBuildSWF(const TFlashRequest &) { PublishCommand(0); }
void TFrmmain::CmdBuildEXE(const TFlashRequest &) { PublishCommand(1); }
void TFrmmain::CmdBuildHTML(const TFlashRequest &) { PublishCommand(2); }
void TFrmmain::CmdBuildEmail(const TFlashRequest &) { PublishCommand(3); }

void TFrmmain::CmdBuildSRC(const TFlashRequest &)
{
    // A screen saver always plays by itself and loops; the project keeps its own choice.
    TTemplate *templ = m_project->Template();
    const bool autoPlay = templ->AutoPlay();
    const bool autoLoop = templ->AutoLoop();
    templ->SetAutoPlay(true);
    templ->SetAutoLoop(true);
    struct Restore {
        TTemplate *templ;
        bool autoPlay, autoLoop;
        ~Restore()
        {
            templ->SetAutoPlay(autoPlay);
            templ->SetAutoLoop(autoLoop);
        }
    } restore{templ, autoPlay, autoLoop};
    PublishCommand(4);
}

void TFrmmain::CmdEditPhoto(const TFlashRequest &request)
{
    m_features->EditPhoto(*this, request.IntArgument(0));
}

void TFrmmain::CmdDelPhoto(const TFlashRequest &request)
{
    const bool previewDeleted =
        DeletePhotos(*m_project, request.Argument(0), request.IntArgument(1));
    RefreshPhotoCount();
    if (m_project->Images()->Count() == 0) {
        CopyDefaultPreviewImages();
        RequestReloadImages();
    } else if (previewDeleted) {
        RefillPreviewImages(*m_project);
        RequestReloadImages();
    }
}

void TFrmmain::CmdRefreshPhoto(const TFlashRequest &request)
{
    ReorderPhotos(*m_project, request.Argument(0));
    RequestReloadImages();
}

void TFrmmain::CmdMenuNew(const TFlashRequest &) { m_features->NewProject(*this); }
void TFrmmain::CmdMenuOpen(const TFlashRequest &) { m_features->OpenProjectDialog(*this); }
void TFrmmain::CmdMenuSave(const TFlashRequest &) { m_features->SaveProject(*this); }
void TFrmmain::CmdMenuSaveAs(const TFlashRequest &) { m_features->SaveProjectAs(*this); }
void TFrmmain::CmdMenuExit(const TFlashRequest &) { close(); }

void TFrmmain::CmdMenuHelp(const TFlashRequest &)
{
    OpenHelpFile();
}

void TFrmmain::CmdMenuSupport(const TFlashRequest &)
{
    openWebPage(ReadProductLink(QStringLiteral("Support")));
}

void TFrmmain::CmdMenuAbout(const TFlashRequest &) { m_features->ShowAbout(*this); }

void TFrmmain::CmdTemplateSelected(const TFlashRequest &request)
{
    TTemplate *templ = m_project->Template();
    templ->SetTemplateID(request.IntArgumentOr(2, 0));
    templ->SetSelectOffset(uint32_t(request.Int64Argument(0)));
    templ->SetSelectSize(uint32_t(request.Int64Argument(1)));
    m_templateSelected = true;
}

void TFrmmain::CmdSetDesction(const TFlashRequest &request)
{
    m_features->EditDescription(*this, request.IntArgument(0));
}

void TFrmmain::CmdAddMusic(const TFlashRequest &) { m_features->MusicSettings(*this); }
void TFrmmain::CmdSetTemplate(const TFlashRequest &) { m_features->TemplateSettings(*this); }

void TFrmmain::CmdInitComplate(const TFlashRequest &)
{
    if (m_parameters.isEmpty())
        return;
    if (m_flash)
        m_flash->Widget()->repaint();
    if (QFileInfo(m_parameters.first()).isFile())
        m_features->OpenProject(*this, m_parameters.first());
}

void TFrmmain::CmdPreViewFlash(const TFlashRequest &)
{
    if (!CheckHasPhotos(*m_project, this))
        return;
    TSeting *seting = m_project->Seting();
    const int width = seting->Width();
    const int height = seting->Height();
    m_project->SetOutputKind(5);
    // The preview fits the editor UI: 55 pixels for its frame, then 16:9 less a margin.
    // nearbyint rounds halves to even.
    const int controlHeight = m_flash ? m_flash->Widget()->height() : 0;
    const int previewHeight = int(std::nearbyint((controlHeight - 55) * 0.75));
    seting->SetHeight(previewHeight);
    seting->SetWidth(int(std::nearbyint(previewHeight * 16.0 / 9.0 - 120)));
    struct Restore {
        TSeting *seting;
        int width, height;
        ~Restore()
        {
            seting->SetWidth(width);
            seting->SetHeight(height);
        }
    } restore{seting, width, height};
    m_features->Export(*this, 5);
}

std::optional<int> CheckBeforeWindow(const FlashControlFactory &makeControl,
                                     const QStringList &parameters, TInstanceChannel &channel)
{
    try {
        makeControl();
    } catch (const std::exception &) {
        const PromptAnswer answer = Prompts().Message(
            nullptr, LangText(QStringLiteral("msg_adobe_flash_player")),
            LangText(QStringLiteral("msg_flash_player_detection")), PromptButtons::OkCancel);
        if (answer == PromptAnswer::Ok)
            QDesktopServices::openUrl(
                QUrl::fromLocalFile(ProgramFile(QStringLiteral("install_flash_player_ax.exe"))));
        return 1;
    }
    if (channel.Claim())
        return std::nullopt;
    QList<InstanceMessage> messages{{WindowMessage::Restore, 0, 0, {}}};
    if (!parameters.isEmpty())
        messages << TInstanceChannel::CopyDataMessage(parameters.first());
    channel.Forward(messages);
    return 0;
}

int RunGalleryMaker(int argc, char **argv)
{
    TApplication app(argc, argv);
    // The software scene graph draws the editor UI everywhere, also where OpenGL is missing.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    const QStringList parameters = app.arguments().mid(1);
    const FlashControlFactory makeControl = [] {
        return std::unique_ptr<TShockwaveFlash>(std::make_unique<TQuickFlashPlayer>());
    };
    LoadProgramLanguage();
    TInstanceChannel channel;
    if (const std::optional<int> exitCode = CheckBeforeWindow(makeControl, parameters, channel))
        return *exitCode;

    TFrmmain window(makeControl, parameters);
    QObject::connect(&channel, &TInstanceChannel::messageReceived, &window,
                     [&window](const InstanceMessage &message) {
                         window.HandleInstanceMessage(message);
                     });
    window.show();
    return app.exec();
}
