#pragma once
// The gallery project: photos, template options, music and publish settings.
//
// Each class's Q_PROPERTY list is its stored form, in this order; changing the order or a name
// changes the project file. Setters store only a value that differs from the current one and,
// unless noted, report the change (Changed) so that the root project becomes Modified.

#include "UBaseData.h"

#include <atomic>
#include <cstdint>

// The enumerations of the stored form. Their value names are written into the project file.
namespace ProjEnums {
Q_NAMESPACE
enum TWindowType { st_new, st_current };
Q_ENUM_NS(TWindowType)
enum TTemplateType { st_3d_Wall, st_3d_Shape, st_3d_Cool, st_gallery, st_simple, st_part };
Q_ENUM_NS(TTemplateType)
enum TDragType { st_Auto, st_Drag, st_Influence };
Q_ENUM_NS(TDragType)
enum TOutType { st_169, st_43, st_Custom };
Q_ENUM_NS(TOutType)
} // namespace ProjEnums

using ProjEnums::TDragType;
using ProjEnums::TOutType;
using ProjEnums::TTemplateType;
using ProjEnums::TWindowType;
using enum ProjEnums::TWindowType;
using enum ProjEnums::TTemplateType;
using enum ProjEnums::TDragType;
using enum ProjEnums::TOutType;

// One photo.
class TImageObj : public TProjObj {
    Q_OBJECT
    Q_PROPERTY(int ID READ ID WRITE SetID)
    Q_PROPERTY(QString SrcFile READ SrcFile WRITE SetSrcFile)
    Q_PROPERTY(QString ThumbFile READ ThumbFile WRITE SetThumbFile)
    Q_PROPERTY(QString EditFile READ EditFile WRITE SetEditFile)
    Q_PROPERTY(QString OutFile READ OutFile WRITE SetOutFile)
    Q_PROPERTY(QString Description READ Description WRITE SetDescription)
    Q_PROPERTY(QString URL READ URL WRITE SetURL)
    Q_PROPERTY(ProjEnums::TWindowType URLType READ URLType WRITE SetURLType)
    Q_PROPERTY(bool ISEdit READ ISEdit WRITE SetISEdit)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(double ModifyTime READ ModifyTime WRITE SetModifyTime)
    Q_PROPERTY(double CreateTime READ CreateTime WRITE SetCreateTime)
    Q_PROPERTY(qint64 FileSize READ FileSize WRITE SetFileSize)
    Q_PROPERTY(qint64 MD5O READ MD5O WRITE SetMD5O)
    Q_PROPERTY(qint64 CRTS READ CRTS WRITE SetCRTS)
public:
    Q_INVOKABLE explicit TImageObj(QObject *owner = nullptr) : TProjObj(owner) {}

    int ID() const { return m_ID; }
    void SetID(int value) { Store(m_ID, value); }
    // The photo file the user added.
    const QString &SrcFile() const { return m_SrcFile; }
    void SetSrcFile(const QString &value) { Store(m_SrcFile, value); }
    const QString &ThumbFile() const { return m_ThumbFile; }
    void SetThumbFile(const QString &value) { Store(m_ThumbFile, value); }
    // The edited copy, valid when ISEdit.
    const QString &EditFile() const { return m_EditFile; }
    void SetEditFile(const QString &value) { Store(m_EditFile, value); }
    // The image packed at the last publish.
    const QString &OutFile() const { return m_OutFile; }
    void SetOutFile(const QString &value) { Store(m_OutFile, value); }
    const QString &Description() const { return m_Description; }
    void SetDescription(const QString &value) { Store(m_Description, value); }
    const QString &URL() const { return m_URL; }
    void SetURL(const QString &value) { Store(m_URL, value); }
    TWindowType URLType() const { return m_URLType; }
    void SetURLType(TWindowType value) { Store(m_URLType, value); }
    bool ISEdit() const { return m_ISEdit; }
    void SetISEdit(bool value) { Store(m_ISEdit, value); }
    const QString &Caption() const { return m_Caption; }
    void SetCaption(const QString &value) { Store(m_Caption, value); }
    double ModifyTime() const { return m_ModifyTime; }
    void SetModifyTime(double value) { Store(m_ModifyTime, value); }
    double CreateTime() const { return m_CreateTime; }
    void SetCreateTime(double value) { Store(m_CreateTime, value); }
    qint64 FileSize() const { return m_FileSize; }
    void SetFileSize(qint64 value) { Store(m_FileSize, value); }
    // Offset of the photo's block within the data pack, and the length of its data.
    qint64 MD5O() const { return m_MD5O; }
    void SetMD5O(qint64 value) { Store(m_MD5O, value); }
    qint64 CRTS() const { return m_CRTS; }
    void SetCRTS(qint64 value) { Store(m_CRTS, value); }

private:
    int m_ID = 0;
    QString m_SrcFile;
    QString m_ThumbFile;
    QString m_EditFile;
    QString m_OutFile;
    QString m_Description;
    QString m_URL;
    TWindowType m_URLType = st_new;
    bool m_ISEdit = false;
    QString m_Caption;
    double m_ModifyTime = 0;
    double m_CreateTime = 0;
    qint64 m_FileSize = 0;
    qint64 m_MD5O = 0;
    qint64 m_CRTS = 0;
};

// The selected template and its options. Every setter marks except UseBgImage's.
class TTemplate : public TProjObj {
    Q_OBJECT
    Q_PROPERTY(int TemplateID READ TemplateID WRITE SetTemplateID)
    Q_PROPERTY(QString TemplateName READ TemplateName WRITE SetTemplateName)
    Q_PROPERTY(ProjEnums::TTemplateType TemplateType READ TemplateType WRITE SetTemplateType)
    Q_PROPERTY(bool UseFrame READ UseFrame WRITE SetUseFrame)
    Q_PROPERTY(int BgColor READ BgColor WRITE SetBgColor)
    Q_PROPERTY(QString BgImage READ BgImage WRITE SetBgImage)
    Q_PROPERTY(QString ThumbImg READ ThumbImg WRITE SetThumbImg)
    Q_PROPERTY(uint MD5O READ MD5O WRITE SetMD5O)
    Q_PROPERTY(uint CRTS READ CRTS WRITE SetCRTS)
    Q_PROPERTY(uint SelectOffset READ SelectOffset WRITE SetSelectOffset)
    Q_PROPERTY(uint SelectSize READ SelectSize WRITE SetSelectSize)
    Q_PROPERTY(uint ImgOffset READ ImgOffset WRITE SetImgOffset)
    Q_PROPERTY(uint ImgSize READ ImgSize WRITE SetImgSize)
    Q_PROPERTY(ProjEnums::TDragType DragType READ DragType WRITE SetDragType)
    Q_PROPERTY(bool UseLight READ UseLight WRITE SetUseLight)
    Q_PROPERTY(bool UseFill READ UseFill WRITE SetUseFill)
    Q_PROPERTY(int AutoDelay READ AutoDelay WRITE SetAutoDelay)
    Q_PROPERTY(bool UseBgImage READ UseBgImage WRITE SetUseBgImage)
    Q_PROPERTY(bool AutoPlay READ AutoPlay WRITE SetAutoPlay)
    Q_PROPERTY(bool AutoLoop READ AutoLoop WRITE SetAutoLoop)
    Q_PROPERTY(bool FullPlay READ FullPlay WRITE SetFullPlay)
    Q_PROPERTY(bool mousedrag READ mousedrag WRITE Setmousedrag)
    Q_PROPERTY(bool autocursor READ autocursor WRITE Setautocursor)
    Q_PROPERTY(bool autoscroll READ autoscroll WRITE Setautoscroll)
    Q_PROPERTY(bool usespotlight READ usespotlight WRITE Setusespotlight)
public:
    Q_INVOKABLE explicit TTemplate(QObject *owner = nullptr) : TProjObj(owner) {}

    // Catalogue number of the selected template.
    int TemplateID() const { return m_TemplateID; }
    void SetTemplateID(int value) { Store(m_TemplateID, value); }
    const QString &TemplateName() const { return m_TemplateName; }
    void SetTemplateName(const QString &value) { Store(m_TemplateName, value); }
    TTemplateType TemplateType() const { return m_TemplateType; }
    void SetTemplateType(TTemplateType value) { Store(m_TemplateType, value); }
    bool UseFrame() const { return m_UseFrame; }
    void SetUseFrame(bool value) { Store(m_UseFrame, value); }
    // Red in bits 16..23, green in 8..15, blue in 0..7.
    int BgColor() const { return m_BgColor; }
    void SetBgColor(int value) { Store(m_BgColor, value); }
    // The background picture the user chose, and its reduced copy that is shown and published.
    const QString &BgImage() const { return m_BgImage; }
    void SetBgImage(const QString &value) { Store(m_BgImage, value); }
    const QString &ThumbImg() const { return m_ThumbImg; }
    void SetThumbImg(const QString &value) { Store(m_ThumbImg, value); }
    // Offset of the template movie's block within the data pack, and the movie's length.
    uint MD5O() const { return m_MD5O; }
    void SetMD5O(uint value) { Store(m_MD5O, value); }
    uint CRTS() const { return m_CRTS; }
    void SetCRTS(uint value) { Store(m_CRTS, value); }
    // Where the selected template's block lies in the template pack.
    uint SelectOffset() const { return m_SelectOffset; }
    void SetSelectOffset(uint value) { Store(m_SelectOffset, value); }
    uint SelectSize() const { return m_SelectSize; }
    void SetSelectSize(uint value) { Store(m_SelectSize, value); }
    // Offset of the background picture's block within the data pack, and its length.
    uint ImgOffset() const { return m_ImgOffset; }
    void SetImgOffset(uint value) { Store(m_ImgOffset, value); }
    uint ImgSize() const { return m_ImgSize; }
    void SetImgSize(uint value) { Store(m_ImgSize, value); }
    TDragType DragType() const { return m_DragType; }
    void SetDragType(TDragType value) { Store(m_DragType, value); }
    bool UseLight() const { return m_UseLight; }
    void SetUseLight(bool value) { Store(m_UseLight, value); }
    bool UseFill() const { return m_UseFill; }
    void SetUseFill(bool value) { Store(m_UseFill, value); }
    int AutoDelay() const { return m_AutoDelay; }
    void SetAutoDelay(int value) { Store(m_AutoDelay, value); }
    bool UseBgImage() const { return m_UseBgImage; }
    void SetUseBgImage(bool value) { Store(m_UseBgImage, value, false); }
    bool AutoPlay() const { return m_AutoPlay; }
    void SetAutoPlay(bool value) { Store(m_AutoPlay, value); }
    bool AutoLoop() const { return m_AutoLoop; }
    void SetAutoLoop(bool value) { Store(m_AutoLoop, value); }
    bool FullPlay() const { return m_FullPlay; }
    void SetFullPlay(bool value) { Store(m_FullPlay, value); }
    bool mousedrag() const { return m_mousedrag; }
    void Setmousedrag(bool value) { Store(m_mousedrag, value); }
    bool autocursor() const { return m_autocursor; }
    void Setautocursor(bool value) { Store(m_autocursor, value); }
    bool autoscroll() const { return m_autoscroll; }
    void Setautoscroll(bool value) { Store(m_autoscroll, value); }
    bool usespotlight() const { return m_usespotlight; }
    void Setusespotlight(bool value) { Store(m_usespotlight, value); }

private:
    int m_TemplateID = 0;
    QString m_TemplateName;
    TTemplateType m_TemplateType = st_3d_Wall;
    bool m_UseFrame = false;
    int m_BgColor = 0;
    QString m_BgImage;
    QString m_ThumbImg;
    uint m_MD5O = 0;
    uint m_CRTS = 0;
    uint m_SelectOffset = 0;
    uint m_SelectSize = 0;
    uint m_ImgOffset = 0;
    uint m_ImgSize = 0;
    TDragType m_DragType = st_Auto;
    bool m_UseLight = false;
    bool m_UseFill = false;
    int m_AutoDelay = 0;
    bool m_UseBgImage = false;
    bool m_AutoPlay = false;
    bool m_AutoLoop = false;
    bool m_FullPlay = false;
    bool m_mousedrag = false;
    bool m_autocursor = false;
    bool m_autoscroll = false;
    bool m_usespotlight = false;
};

// Publish settings and publish results. Only Width, ImgWidth, MD5O, CRTS and MusicLoop mark:
// the others are choices of the publish dialog or results of a publish.
class TSeting : public TProjObj {
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int ImgWidth READ ImgWidth WRITE SetImgWidth)
    Q_PROPERTY(int ImgHeight READ ImgHeight WRITE SetImgHeight)
    Q_PROPERTY(int FrameRate READ FrameRate WRITE SetFrameRate)
    Q_PROPERTY(int ImgQuality READ ImgQuality WRITE SetImgQuality)
    Q_PROPERTY(QString EndURL READ EndURL WRITE SetEndURL)
    Q_PROPERTY(QString OutPut READ OutPut WRITE SetOutPut)
    Q_PROPERTY(qint64 MD5O READ MD5O WRITE SetMD5O)
    Q_PROPERTY(qint64 CRTS READ CRTS WRITE SetCRTS)
    Q_PROPERTY(bool UseMusic READ UseMusic WRITE SetUseMusic)
    Q_PROPERTY(ProjEnums::TOutType OutType READ OutType WRITE SetOutType)
    Q_PROPERTY(bool MusicLoop READ MusicLoop WRITE SetMusicLoop)
public:
    Q_INVOKABLE explicit TSeting(QObject *owner = nullptr) : TProjObj(owner) {}

    // Movie size in pixels.
    int Width() const { return m_Width; }
    void SetWidth(int value) { Store(m_Width, value); }
    int Height() const { return m_Height; }
    void SetHeight(int value) { Store(m_Height, value, false); }
    // The box the published photos were fitted into.
    int ImgWidth() const { return m_ImgWidth; }
    void SetImgWidth(int value) { Store(m_ImgWidth, value); }
    int ImgHeight() const { return m_ImgHeight; }
    void SetImgHeight(int value) { Store(m_ImgHeight, value, false); }
    int FrameRate() const { return m_FrameRate; }
    void SetFrameRate(int value) { Store(m_FrameRate, value, false); }
    int ImgQuality() const { return m_ImgQuality; }
    void SetImgQuality(int value) { Store(m_ImgQuality, value, false); }
    const QString &EndURL() const { return m_EndURL; }
    void SetEndURL(const QString &value) { Store(m_EndURL, value, false); }
    // Output folder as typed in the publish dialog.
    const QString &OutPut() const { return m_OutPut; }
    void SetOutPut(const QString &value) { Store(m_OutPut, value, false); }
    // Offset of the mixed music's block within the data pack, and its length.
    qint64 MD5O() const { return m_MD5O; }
    void SetMD5O(qint64 value) { Store(m_MD5O, value); }
    qint64 CRTS() const { return m_CRTS; }
    void SetCRTS(qint64 value) { Store(m_CRTS, value); }
    // A music block was packed at the last publish.
    bool UseMusic() const { return m_UseMusic; }
    void SetUseMusic(bool value) { Store(m_UseMusic, value, false); }
    TOutType OutType() const { return m_OutType; }
    void SetOutType(TOutType value) { Store(m_OutType, value, false); }
    bool MusicLoop() const { return m_MusicLoop; }
    void SetMusicLoop(bool value) { Store(m_MusicLoop, value); }

private:
    int m_Width = 0;
    int m_Height = 0;
    int m_ImgWidth = 0;
    int m_ImgHeight = 0;
    int m_FrameRate = 0;
    int m_ImgQuality = 0;
    QString m_EndURL;
    QString m_OutPut;
    qint64 m_MD5O = 0;
    qint64 m_CRTS = 0;
    bool m_UseMusic = false;
    TOutType m_OutType = st_169;
    bool m_MusicLoop = false;
};

// One background-music element; times are whole seconds.
class TAudio : public TProjObj {
    Q_OBJECT
    Q_PROPERTY(int ID READ ID WRITE SetID)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(qint64 BeginTime READ BeginTime WRITE SetBeginTime)
    Q_PROPERTY(qint64 EndTime READ EndTime WRITE SetEndTime)
    Q_PROPERTY(qint64 Length READ Length WRITE SetLength)
    Q_PROPERTY(bool bFadeIn READ bFadeIn WRITE SetbFadeIn)
    Q_PROPERTY(bool FadeOut READ FadeOut WRITE SetFadeOut)
public:
    Q_INVOKABLE explicit TAudio(QObject *owner = nullptr) : TProjObj(owner) {}

    int ID() const { return m_ID; }
    void SetID(int value) { Store(m_ID, value); }
    const QString &FileName() const { return m_FileName; }
    void SetFileName(const QString &value) { Store(m_FileName, value); }
    // The used clip within the file, and the length of the whole file.
    qint64 BeginTime() const { return m_BeginTime; }
    void SetBeginTime(qint64 value) { Store(m_BeginTime, value); }
    qint64 EndTime() const { return m_EndTime; }
    void SetEndTime(qint64 value) { Store(m_EndTime, value); }
    qint64 Length() const { return m_Length; }
    void SetLength(qint64 value) { Store(m_Length, value); }
    bool bFadeIn() const { return m_bFadeIn; }
    void SetbFadeIn(bool value) { Store(m_bFadeIn, value); }
    bool FadeOut() const { return m_FadeOut; }
    void SetFadeOut(bool value) { Store(m_FadeOut, value); }

private:
    int m_ID = 0;
    QString m_FileName;
    qint64 m_BeginTime = 0;
    qint64 m_EndTime = 0;
    qint64 m_Length = 0;
    bool m_bFadeIn = false;
    bool m_FadeOut = false;
};

// The photos, in gallery order.
class TImageObjList : public TProjObjList {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TImageObjList(QObject *owner = nullptr) : TProjObjList(owner)
    {
        SetItemClass(&TImageObj::staticMetaObject);
    }
    TImageObj *Items(int index) const { return static_cast<TImageObj *>(TProjObjList::Items(index)); }
};

// The background music, in play order.
class TAudioList : public TProjObjList {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TAudioList(QObject *owner = nullptr) : TProjObjList(owner)
    {
        SetItemClass(&TAudio::staticMetaObject);
    }
    TAudio *Items(int index) const { return static_cast<TAudio *>(TProjObjList::Items(index)); }
};

// The gallery project, the root of the project document. The program keeps exactly one for its
// whole run; New and Open empty and refill it.
class TProjItem : public TBaseProj {
    Q_OBJECT
    Q_PROPERTY(TImageObjList *Images READ Images CONSTANT)
    Q_PROPERTY(TTemplate *Template READ Template CONSTANT)
    Q_PROPERTY(TAudioList *Audios READ Audios CONSTANT)
    Q_PROPERTY(TSeting *Seting READ Seting CONSTANT)
public:
    Q_INVOKABLE explicit TProjItem(QObject *owner = nullptr);

    TImageObjList *Images() { return &m_Images; }
    const TImageObjList *Images() const { return &m_Images; }
    TTemplate *Template() { return &m_Template; }
    const TTemplate *Template() const { return &m_Template; }
    TAudioList *Audios() { return &m_Audios; }
    const TAudioList *Audios() const { return &m_Audios; }
    TSeting *Seting() { return &m_Seting; }
    const TSeting *Seting() const { return &m_Seting; }

    // Not stored. The file being published and its kind: 0 movie (.swf), 1 program, 2 web page,
    // 3 e-mail, 4 screen saver, 5 preview inside the editor.
    const QString &OutputPath() const { return m_OutputPath; }
    void SetOutputPath(const QString &path) { m_OutputPath = path; }
    uint8_t OutputKind() const { return m_OutputKind; }
    void SetOutputKind(uint8_t kind) { m_OutputKind = kind; }
    // Set by the progress window's Cancel on the main thread, polled by the publish worker.
    bool CancelRequested() const { return m_CancelRequested.load(); }
    void SetCancelRequested(bool requested) { m_CancelRequested.store(requested); }

    void Assign(const TProjObj *source) override;
    // Reads only a document whose root element is named "Plexo" in any letter case; from any
    // other it takes only the version attribute.
    void ReadXMLFile(const QString &fileName) override;

private:
    // The held objects and lists; they live exactly as long as the project.
    TImageObjList m_Images{this};
    TTemplate m_Template{this};
    TAudioList m_Audios{this};
    TSeting m_Seting{this};
    QString m_OutputPath;
    uint8_t m_OutputKind = 0;
    std::atomic<bool> m_CancelRequested{false};
};
