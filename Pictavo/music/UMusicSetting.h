#pragma once
// The music dialog: the project's background-music list with a clip (begin and end time) and the
// fades of each file, a preview through one music component of the mixing library, and whether
// the music loops. Every change goes straight into the project; there is no cancel.

#include "UBaseFrom.h"

#include <QString>

class QCheckBox;
class QLabel;
class QPushButton;
class QToolButton;
class QTreeWidget;
class TAudio;
class TProjItem;
class TVexaTrackBar;
struct MusicComponent;
struct MusicElement;

class TFrmMusicSet : public TBaseFrm {
    Q_OBJECT
public:
    TFrmMusicSet(QWidget *owner, TProjItem &project);
    ~TFrmMusicSet() override;

    // What the file chooser offers.
    static const QString MusicFileFilter;

    QLabel *LabTime = nullptr;
    QTreeWidget *FileList = nullptr;
    TVexaTrackBar *atbClip = nullptr;
    QToolButton *BtnAdd = nullptr;
    QToolButton *BtnDel = nullptr;
    QToolButton *BtnUp = nullptr;
    QToolButton *BtnDown = nullptr;
    QToolButton *BtnPlay = nullptr;
    QToolButton *BtnPause = nullptr;
    QToolButton *BtnStop = nullptr;
    QToolButton *BtnReset = nullptr;
    QLabel *LabCur = nullptr;
    QLabel *LabTotal = nullptr;
    QCheckBox *ChkFadeIn = nullptr;
    QCheckBox *ChkFadeOut = nullptr;
    QCheckBox *ChkMusicLoop = nullptr;
    QPushButton *BtnOk = nullptr;

    MusicComponent *Component() const { return m_component; }
    bool Paused() const { return m_paused; }

    void BtnAddClick();
    void BtnDelClick();
    void BtnUpClick() { MoveSelected(-1); }
    void BtnDownClick() { MoveSelected(+1); }
    void BtnPlayClick();
    void BtnPauseClick();
    void BtnStopClick();
    void BtnResetClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    void done(int result) override;

private:
    void FormShow();
    void FileListSelectItem();
    void atbClipSetStartChange(qint64 value);
    void atbClipSetEndChange(qint64 value);
    void atbClipTrackChange(qint64 value);
    void ChkFadeChange();
    void MixerNotify(int code, int value);

    int SelectedIndex() const; // -1 without a selection
    TAudio *SelectedAudio() const;
    // The selected item when the user moved a marker; none while the dialog moves them itself.
    TAudio *TrimmedAudio() const;
    void ShowTrim(const TAudio &audio);
    void SelectRow(int index);
    void AddRow(const TAudio &audio);
    void SetRowTimes(int index, const TAudio &audio);
    void MoveSelected(int step);
    void UpdateItemButtons();
    void UpdateTotal();
    void FitEndColumn();
    // Clears the preview element, stopping everything that may read it.
    void DropPreviewElement();

    TProjItem &m_project;
    MusicComponent *m_component = nullptr;
    MusicElement *m_preview = nullptr;
    bool m_paused = false;
    bool m_activated = false;
    // Set while the dialog itself moves the track bar or the fade boxes, so that their change
    // handlers do not write the values back.
    bool m_trackMarked = false;
    bool m_fadeMarked = false;
};

// Opens the music dialog modally over `owner` and frees it when it closes.
void ShowMusicSettings(QWidget *owner, TProjItem &project);
