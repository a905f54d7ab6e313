#include "UMusicSetting.h"

#include "ClipTrackPictures.h"
#include "ULanguage.h"
#include "UPhotoList.h"
#include "VexaMixAudio.h"
#include "VexaTrackBar.h"
#include "platform/Prompts.h"
#include "platform/WindowMessages.h"
#include "project/UDataDef.h"
#include "project/UPublicFunction.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QPainter>
#include <QToolButton>
#include <QTreeWidget>

namespace {

constexpr int64_t TicksPerSecond = 10'000'000;
constexpr int WideEndColumn = 105;
constexpr int NarrowEndColumn = 85;
// More rows than this bring the vertical scroll bar, which the narrower column makes room for.
constexpr int RowsWithoutScrollBar = 9;

// Runs on the mixing library's threads: only hand the values on to the dialog's thread.
void PostMixerNotification(int32_t code, int32_t value, void *userData)
{
    PostWindowMessage(static_cast<QObject *>(userData), WindowMessage::MusicNotify, code, value);
}

std::u16string PathText(const QString &path) { return path.toStdU16String(); }

// The files the mixing library could not open, named without their folders in one message.
void ShowUnreadableFiles(QWidget *parent, const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names << QFileInfo(path).fileName();
    ShowMessage(parent, LangText(QStringLiteral("msg_the_follow")) + QStringLiteral("\n\n") +
                            names.join(QLatin1Char(',')));
}

enum class ButtonPicture { Add, Remove, Up, Down, Play, Pause, Stop, Reset };

// A button's picture: light shapes for the dark form, `accent` for the play button.
QPixmap ButtonPixmap(ButtonPicture picture, const QColor &light, const QColor &accent)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    const auto polygon = [&](std::initializer_list<QPointF> points) { painter.drawPolygon(QPolygonF(points)); };
    switch (picture) {
    case ButtonPicture::Add:
        painter.drawRect(QRectF(7, 2, 2, 12));
        painter.drawRect(QRectF(2, 7, 12, 2));
        break;
    case ButtonPicture::Remove:
        painter.drawRect(QRectF(2, 7, 12, 2));
        break;
    case ButtonPicture::Up:
        polygon({{8, 2}, {14, 9}, {10, 9}, {10, 14}, {6, 14}, {6, 9}, {2, 9}});
        break;
    case ButtonPicture::Down:
        polygon({{8, 14}, {14, 7}, {10, 7}, {10, 2}, {6, 2}, {6, 7}, {2, 7}});
        break;
    case ButtonPicture::Play:
        painter.setBrush(accent);
        polygon({{4, 2}, {14, 8}, {4, 14}});
        break;
    case ButtonPicture::Pause:
        painter.drawRect(QRectF(4, 3, 3, 10));
        painter.drawRect(QRectF(9, 3, 3, 10));
        break;
    case ButtonPicture::Stop:
        painter.drawRect(QRectF(3.5, 3.5, 9, 9));
        break;
    case ButtonPicture::Reset:
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(light, 2));
        painter.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(light);
        polygon({{8, 0}, {12, 3}, {8, 6}});
        break;
    }
    return pixmap;
}

QIcon ButtonIcon(ButtonPicture picture)
{
    QIcon icon(ButtonPixmap(picture, QColor(230, 230, 230), QColor(250, 160, 40)));
    const QColor dim(100, 100, 100);
    icon.addPixmap(ButtonPixmap(picture, dim, dim), QIcon::Disabled);
    return icon;
}

QToolButton *MakeButton(QWidget *parent, const char *name, const QString &hint, ButtonPicture picture)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setIcon(ButtonIcon(picture));
    button->setAutoRaise(true);
    button->setFixedSize(26, 24);
    return button;
}

QCheckBox *MakeCheckBox(QWidget *parent, const char *name, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(true);
    box->setStyleSheet(QStringLiteral("color: rgb(220,220,220);"));
    return box;
}

} // namespace

const QString TFrmMusicSet::MusicFileFilter = QStringLiteral(
    "All Audio File(*.*)|*.mp3;*.wma;*.ape;*.apff;*.ogg;*.aac;*.ac3;*.wav|MP3 File(*.mp3)|*.mp3|"
    "WMA File(*.wma)|*.wma|WAV File(*.wav)|*.wav|AAC File(*.aac)|*.aac|OGG File(*.ogg)|*.ogg");

TFrmMusicSet::TFrmMusicSet(QWidget *owner, TProjItem &project)
    : TBaseFrm(owner, QStringLiteral("FrmMusicSet"), QStringLiteral("Add Music"), QSize(488, 346)),
      m_project(project)
{
    BtnAdd = MakeButton(this, "BtnAdd", QStringLiteral("Add Music"), ButtonPicture::Add);
    BtnDel = MakeButton(this, "BtnDel", QStringLiteral(" Remove Music"), ButtonPicture::Remove);
    BtnUp = MakeButton(this, "BtnUp", QStringLiteral("Move Up"), ButtonPicture::Up);
    BtnDown = MakeButton(this, "BtnDown", QStringLiteral("Move Down"), ButtonPicture::Down);
    int x = 8;
    for (QToolButton *button : {BtnAdd, BtnDel, BtnUp, BtnDown}) {
        button->move(x, 32);
        x += 30;
    }
    LabTime = new QLabel(QStringLiteral("Total duration: 00:04:18"), this);
    LabTime->setObjectName(QStringLiteral("LabTime"));
    LabTime->setGeometry(200, 36, 280, 16);
    LabTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    FileList = new QTreeWidget(this);
    FileList->setObjectName(QStringLiteral("FileList"));
    FileList->setGeometry(8, 60, 472, 150);
    FileList->setColumnCount(3);
    FileList->setHeaderLabels({QStringLiteral("Music File"), QStringLiteral("Begin time"), QStringLiteral("End time")});
    FileList->setRootIsDecorated(false);
    FileList->setSelectionMode(QAbstractItemView::SingleSelection);
    FileList->setSelectionBehavior(QAbstractItemView::SelectRows);
    FileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FileList->header()->setSectionsClickable(false);
    FileList->header()->setStretchLastSection(false);
    FileList->headerItem()->setTextAlignment(1, Qt::AlignCenter);
    FileList->headerItem()->setTextAlignment(2, Qt::AlignCenter);
    FileList->setColumnWidth(0, 250);
    FileList->setColumnWidth(1, 100);
    FileList->setColumnWidth(2, 89);
    FileList->setStyleSheet(QStringLiteral("QTreeWidget { background: rgb(222,222,222); }"
                                           "QTreeWidget::item { border-right: 1px solid rgb(180,180,180);"
                                           " border-bottom: 1px solid rgb(180,180,180); }"
                                           "QTreeWidget::item:selected { background: rgb(250,160,40); color: black; }"));

    atbClip = new TVexaTrackBar(this);
    atbClip->setObjectName(QStringLiteral("atbClip"));
    atbClip->setGeometry(6, 216, 475, 32);
    atbClip->SetMax(100);
    atbClip->SetStartPos(0);
    atbClip->SetEndPos(100);
    atbClip->SetPosition(50);
    atbClip->SetCutVisible(true);
    atbClip->SetClipHeight(4);
    atbClip->SetClipSpace(8);
    atbClip->SetSpaceTrack(3);
    atbClip->SetSpaceBG(8);
    atbClip->SetSpaceStart(12);
    atbClip->SetColorBG(QColor(48, 48, 48));
    atbClip->SetUseColorBg(true);
    SetClipTrackPictures(*atbClip);

    BtnPlay = MakeButton(this, "BtnPlay", QStringLiteral("Play"), ButtonPicture::Play);
    BtnPause = MakeButton(this, "BtnPause", QStringLiteral("Pause"), ButtonPicture::Pause);
    BtnStop = MakeButton(this, "BtnStop", QStringLiteral("Stop"), ButtonPicture::Stop);
    BtnReset = MakeButton(this, "BtnReset", QStringLiteral("Reset"), ButtonPicture::Reset);
    x = 8;
    for (QToolButton *button : {BtnPlay, BtnPause, BtnStop, BtnReset}) {
        button->move(x, 254);
        x += 30;
    }
    LabCur = new QLabel(QStringLiteral("00:00:00 /"), this);
    LabCur->setObjectName(QStringLiteral("LabCur"));
    LabCur->setGeometry(330, 258, 70, 16);
    LabCur->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabTotal = new QLabel(QStringLiteral("00:00:00"), this);
    LabTotal->setObjectName(QStringLiteral("LabTotal"));
    LabTotal->setGeometry(404, 258, 76, 16);

    ChkFadeIn = MakeCheckBox(this, "ChkFadeIn", QStringLiteral("Fade In"));
    ChkFadeIn->setGeometry(8, 286, 110, 20);
    ChkFadeOut = MakeCheckBox(this, "ChkFadeOut", QStringLiteral("Fade Out"));
    ChkFadeOut->setGeometry(124, 286, 110, 20);
    ChkMusicLoop = MakeCheckBox(this, "ChkMusicLoop", QStringLiteral("Loop background music automatically"));
    ChkMusicLoop->setGeometry(8, 314, 300, 20);
    BtnOk = new QPushButton(QStringLiteral("OK"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setGeometry(400, 312, 80, 26);
    StyleFormButton(BtnOk);

    connect(BtnAdd, &QToolButton::clicked, this, &TFrmMusicSet::BtnAddClick);
    connect(BtnDel, &QToolButton::clicked, this, &TFrmMusicSet::BtnDelClick);
    connect(BtnUp, &QToolButton::clicked, this, &TFrmMusicSet::BtnUpClick);
    connect(BtnDown, &QToolButton::clicked, this, &TFrmMusicSet::BtnDownClick);
    connect(BtnPlay, &QToolButton::clicked, this, &TFrmMusicSet::BtnPlayClick);
    connect(BtnPause, &QToolButton::clicked, this, &TFrmMusicSet::BtnPauseClick);
    connect(BtnStop, &QToolButton::clicked, this, &TFrmMusicSet::BtnStopClick);
    connect(BtnReset, &QToolButton::clicked, this, &TFrmMusicSet::BtnResetClick);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(FileList, &QTreeWidget::itemSelectionChanged, this, &TFrmMusicSet::FileListSelectItem);
    connect(atbClip, &TVexaTrackBar::OnSetStartChange, this,
            [this](TVexaTrackBar *, qint64 value) { atbClipSetStartChange(value); });
    connect(atbClip, &TVexaTrackBar::OnSetEndChange, this,
            [this](TVexaTrackBar *, qint64 value) { atbClipSetEndChange(value); });
    connect(atbClip, &TVexaTrackBar::OnTrackChange, this,
            [this](TVexaTrackBar *, qint64 value) { atbClipTrackChange(value); });
    connect(ChkFadeIn, &QCheckBox::toggled, this, &TFrmMusicSet::ChkFadeChange);
    connect(ChkFadeOut, &QCheckBox::toggled, this, &TFrmMusicSet::ChkFadeChange);
    connect(ChkMusicLoop, &QCheckBox::toggled, this,
            [this](bool checked) { m_project.Seting()->SetMusicLoop(checked); });

    FormCreate();
    m_component = VexaInitializeMusicComponent(&PostMixerNotification, this, nullptr);
}

TFrmMusicSet::~TFrmMusicSet()
{
    // Stops the device and engine threads before the form they post to goes away.
    VexaDeinitializeMusicComponent(m_component);
}

void TFrmMusicSet::showEvent(QShowEvent *event)
{
    TBaseFrm::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    FormShow();
    // A project without music starts with the file chooser, once the dialog is up.
    if (m_project.Audios()->Count() == 0)
        QMetaObject::invokeMethod(this, &TFrmMusicSet::BtnAddClick, Qt::QueuedConnection);
}

void TFrmMusicSet::FormShow()
{
    FileList->clear();
    const TAudioList &audios = *m_project.Audios();
    for (int i = 0; i < audios.Count(); ++i)
        AddRow(*audios.Items(i));
    UpdateItemButtons();
    UpdateTotal();
    ChkMusicLoop->setChecked(m_project.Seting()->MusicLoop());
    if (FileList->topLevelItemCount() > 0)
        SelectRow(0);
    FileList->setColumnWidth(2, WideEndColumn);
}

void TFrmMusicSet::BtnAddClick()
{
    FileDialogRequest request;
    request.filter = MusicFileFilter;
    request.multiSelect = true;
    const QStringList files = Prompts().OpenFiles(this, request);
    if (files.isEmpty())
        return;
    // Measuring adds elements to the component; nothing may be reading its elements meanwhile.
    BtnStopClick();
    DropPreviewElement();

    QStringList failed;
    for (const QString &path : files) {
        const MusicElement *element = VexaAddMusicElement(PathText(path).c_str(), m_component);
        if (!element) {
            failed << path;
            continue;
        }
        auto audio = std::make_unique<TAudio>();
        audio->SetFileName(path);
        audio->SetID(NextObjectId());
        audio->SetBeginTime(element->clipStart / TicksPerSecond);
        audio->SetEndTime((element->clipStart + element->clipLength) / TicksPerSecond);
        audio->SetLength(element->length / TicksPerSecond);
        const int32_t id = element->id;
        AddRow(*audio);
        m_project.Audios()->Add(std::move(audio));
        VexaDeleteMusicElement(id, m_component);
    }
    if (!failed.isEmpty())
        ShowUnreadableFiles(this, failed);
    if (FileList->topLevelItemCount() > 0) {
        FileList->setFocus();
        SelectRow(0);
    }
    FitEndColumn();
    UpdateTotal();
}

void TFrmMusicSet::FileListSelectItem()
{
    BtnStopClick();
    TAudio *audio = SelectedAudio();
    if (!audio) {
        UpdateItemButtons();
        LabTotal->setText(QStringLiteral("00:00:00"));
        LabCur->setText(QStringLiteral("00:00:00 /"));
        return;
    }
    m_trackMarked = true;
    atbClip->SetMax(audio->Length());
    // The begin goes to 0 first: it is clamped to the end marker, which may still hold an
    // earlier end than this clip's begin.
    atbClip->SetStartPos(0);
    atbClip->SetEndPos(audio->EndTime());
    atbClip->SetStartPos(audio->BeginTime());
    atbClip->SetPosition(atbClip->StartPos());
    m_fadeMarked = true;
    ChkFadeIn->setChecked(audio->bFadeIn());
    ChkFadeOut->setChecked(audio->FadeOut());
    m_fadeMarked = false;
    m_trackMarked = false;
    LabTotal->setText(SecondsToClock(audio->Length()));
    UpdateItemButtons();
}

void TFrmMusicSet::UpdateItemButtons()
{
    const int index = SelectedIndex();
    const int rows = FileList->topLevelItemCount();
    const bool selected = index >= 0;
    BtnDel->setEnabled(selected);
    BtnUp->setEnabled(selected && index > 0);
    BtnDown->setEnabled(selected && index < rows - 1);
    BtnPlay->setEnabled(selected);
    BtnPause->setEnabled(false);
    BtnStop->setEnabled(false);
    const TAudio *audio = SelectedAudio();
    const bool untrimmed = audio && audio->BeginTime() == 0 && audio->EndTime() == atbClip->Max();
    BtnReset->setEnabled(selected && m_project.Audios()->Count() > 0 && !untrimmed);
}

void TFrmMusicSet::BtnDelClick()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    m_project.Audios()->Delete(index);
    {
        // Rows and items disagree until the row is gone; the selection handler waits for that.
        const QSignalBlocker quiet(FileList);
        delete FileList->takeTopLevelItem(index);
    }
    const int rows = FileList->topLevelItemCount();
    if (rows > 0)
        SelectRow(index < rows ? index : rows - 1);
    else
        FileListSelectItem();
    FileList->setFocus();
    if (rows <= RowsWithoutScrollBar)
        FileList->setColumnWidth(2, WideEndColumn);
    UpdateTotal();
}

void TFrmMusicSet::MoveSelected(int step)
{
    const int index = SelectedIndex();
    const int target = index + step;
    if (index < 0 || target < 0 || target >= FileList->topLevelItemCount())
        return;
    m_project.Audios()->Exchange(index, target);
    {
        const QSignalBlocker quiet(FileList);
        QTreeWidgetItem *row = FileList->takeTopLevelItem(index);
        FileList->insertTopLevelItem(target, row);
    }
    SelectRow(target);
}

void TFrmMusicSet::atbClipSetStartChange(qint64 value)
{
    if (TAudio *audio = TrimmedAudio()) {
        audio->SetBeginTime(value);
        ShowTrim(*audio);
    }
}

void TFrmMusicSet::atbClipSetEndChange(qint64 value)
{
    if (TAudio *audio = TrimmedAudio()) {
        audio->SetEndTime(value);
        ShowTrim(*audio);
    }
}

TAudio *TFrmMusicSet::TrimmedAudio() const { return m_trackMarked ? nullptr : SelectedAudio(); }

void TFrmMusicSet::ShowTrim(const TAudio &audio)
{
    SetRowTimes(SelectedIndex(), audio);
    BtnReset->setEnabled(true);
    UpdateTotal();
}

void TFrmMusicSet::atbClipTrackChange(qint64 value)
{
    if (m_trackMarked)
        return;
    VexaSeekMixAudio(value * TicksPerSecond, m_component);
}

void TFrmMusicSet::BtnResetClick()
{
    TAudio *audio = SelectedAudio();
    if (!audio)
        return;
    m_trackMarked = true;
    atbClip->SetStartPos(0);
    atbClip->SetEndPos(atbClip->Max());
    audio->SetBeginTime(0);
    audio->SetEndTime(atbClip->Max());
    SetRowTimes(SelectedIndex(), *audio);
    BtnReset->setEnabled(false);
    m_trackMarked = false;
    UpdateTotal();
}

void TFrmMusicSet::ChkFadeChange()
{
    TAudio *audio = SelectedAudio();
    if (m_fadeMarked || !audio)
        return;
    audio->SetbFadeIn(ChkFadeIn->isChecked());
    audio->SetFadeOut(ChkFadeOut->isChecked());
}

void TFrmMusicSet::BtnPlayClick()
{
    if (m_paused) {
        VexaPlayMixAudio(m_component);
    } else {
        const TAudio *audio = SelectedAudio();
        if (!audio)
            return;
        DropPreviewElement();
        // The preview plays the whole file, without fades, and moves to the clip's begin.
        m_preview = VexaAddMusicElement(PathText(audio->FileName()).c_str(), m_component);
        if (!m_preview) {
            // The file went away or changed since it was added.
            ShowUnreadableFiles(this, {audio->FileName()});
            return;
        }
        VexaPlayMixAudio(m_component);
        VexaSeekMixAudio(audio->BeginTime() * TicksPerSecond, m_component);
    }
    BtnPlay->setEnabled(false);
    BtnPause->setEnabled(true);
    BtnStop->setEnabled(true);
}

void TFrmMusicSet::BtnPauseClick()
{
    VexaPauseMixAudio(m_component);
    m_paused = true;
    BtnPlay->setEnabled(true);
    BtnStop->setEnabled(true);
    BtnPause->setEnabled(false);
}

void TFrmMusicSet::BtnStopClick()
{
    VexaStopMixAudio(m_component);
    m_paused = false;
    BtnPlay->setEnabled(true);
    BtnPause->setEnabled(false);
    BtnStop->setEnabled(false);
    atbClip->SetPosition(atbClip->StartPos());
}

void TFrmMusicSet::DropPreviewElement()
{
    if (!m_preview)
        return;
    VexaMusicElementChanged(m_component);
    VexaDeleteMusicElement(m_preview->id, m_component);
    m_preview = nullptr;
}

bool TFrmMusicSet::event(QEvent *event)
{
    if (event->type() == QEvent::Type(WindowMessage::MusicNotify)) {
        const auto *message = static_cast<TMessageEvent *>(event);
        MixerNotify(int(message->wParam()), int(message->lParam()));
        return true;
    }
    return TBaseFrm::event(event);
}

void TFrmMusicSet::MixerNotify(int code, int value)
{
    switch (code) {
    case VEXA_MIX_PROGRESS:
        m_trackMarked = true;
        atbClip->SetPosition(value);
        LabCur->setText(SecondsToClock(value) + QStringLiteral(" /"));
        m_trackMarked = false;
        break;
    case VEXA_MIX_FINISHED:
        BtnStopClick();
        break;
    case VEXA_MIX_STARTED:
        atbClip->SetPosition(0);
        break;
    default:
        break;
    }
}

void TFrmMusicSet::done(int result)
{
    BtnStopClick();
    TBaseFrm::done(result);
}

int TFrmMusicSet::SelectedIndex() const
{
    const QList<QTreeWidgetItem *> selected = FileList->selectedItems();
    return selected.isEmpty() ? -1 : FileList->indexOfTopLevelItem(selected.first());
}

TAudio *TFrmMusicSet::SelectedAudio() const
{
    const int index = SelectedIndex();
    const TAudioList &audios = *m_project.Audios();
    return index >= 0 && index < audios.Count() ? audios.Items(index) : nullptr;
}

void TFrmMusicSet::SelectRow(int index)
{
    {
        // One selection handler run for the final row, also when it was selected already.
        const QSignalBlocker quiet(FileList);
        QTreeWidgetItem *row = FileList->topLevelItem(index);
        FileList->setCurrentItem(row);
        row->setSelected(true);
    }
    FileListSelectItem();
}

void TFrmMusicSet::AddRow(const TAudio &audio)
{
    auto *row = new QTreeWidgetItem(FileList);
    row->setText(0, audio.FileName());
    row->setTextAlignment(1, Qt::AlignCenter);
    row->setTextAlignment(2, Qt::AlignCenter);
    SetRowTimes(FileList->indexOfTopLevelItem(row), audio);
}

void TFrmMusicSet::SetRowTimes(int index, const TAudio &audio)
{
    if (QTreeWidgetItem *row = FileList->topLevelItem(index)) {
        row->setText(1, SecondsToClock(audio.BeginTime()));
        row->setText(2, SecondsToClock(audio.EndTime()));
    }
}

void TFrmMusicSet::FitEndColumn()
{
    if (FileList->topLevelItemCount() > RowsWithoutScrollBar)
        FileList->setColumnWidth(2, NarrowEndColumn);
}

void TFrmMusicSet::UpdateTotal()
{
    qint64 total = 0;
    const TAudioList &audios = *m_project.Audios();
    for (int i = 0; i < audios.Count(); ++i)
        total += audios.Items(i)->EndTime() - audios.Items(i)->BeginTime();
    LabTime->setText(LangText(QStringLiteral("frm_addmusic_total")) + QLatin1Char(' ') +
                     SecondsToClock(total));
}

void ShowMusicSettings(QWidget *owner, TProjItem &project)
{
    TFrmMusicSet dialog(owner, project);
    dialog.exec();
}
