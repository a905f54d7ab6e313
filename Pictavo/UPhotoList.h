#pragma once
// The project's photo list and the editor UI's view of it: import with thumbnails, delete,
// reorder, the rebuilt list after a project was opened, and the twelve preview images that the
// templates show while the user picks one.

#include <QString>
#include <QStringList>

class QProgressBar;
class QWidget;
class TImageObj;
class TProjItem;

inline constexpr int MaxPhotos = 500;
inline constexpr int PreviewImageCount = 12;

// The process-wide object-ID counter shared by photos and music elements. NextObjectId raises it
// and returns the new value, so the first ID is 1.
int NextObjectId();
void ResetObjectIds();
// After a project was read: the counter is raised to the largest photo or music ID it holds, so
// that IDs handed out afterwards stay unique.
void KeepObjectIdsAbove(const TProjItem &project);

// The filter of the picture open dialogs (photo import, background picture).
QString PictureFileFilter();

// The work folder "TempImg/" of the program folder.
QString WorkFolder();
// Preview image `number` (1 to 12): "Images/testPic<number>.jpeg" of the program folder.
QString PreviewImagePath(int number);
// Copies the default preview images ("Res/Images") over the preview images.
void CopyDefaultPreviewImages();

// A thumbnail of `source` fitted into width x height, written into the work folder as
// <name>_thumb.jpeg (numbered when taken). The source path itself when it could not be made.
QString MakeThumbnail(const QString &source, int width, int height);
// The edit-copy name for `source`, <name>_edt.jpeg in the work folder (numbered when taken).
QString MakeEditFileName(const QString &source);

// Adds a photo with a fresh ID at `position` (-1: at the end); returns its ID.
int AddPhotoToProject(TProjItem &project, const QString &source, const QString &thumbnail,
                      int position);
TImageObj *FindPhotoById(const TProjItem &project, int id);
TImageObj *PhotoAt(const TProjItem &project, int position);

// Adds `files` in order while the project holds fewer than MaxPhotos photos and returns the
// "AddPhoto" invoke text with the photos XML of the added ones. The progress bar (optional) is
// shown for more than three files.
QString ImportPhotos(TProjItem &project, const QStringList &files, QProgressBar *progressBar);

// Deletes the `count` photos of the ID list ("4-9-"); IDs of no photo are skipped. The whole
// list is read before anything changes, so a malformed one (AppError) deletes nothing. True when
// a preview image was deleted.
bool DeletePhotos(TProjItem &project, const QString &idList, int count);
// Puts the photos in the order of the ID list, which names one ID per photo (AppError when it
// holds fewer, nothing moved).
void ReorderPhotos(TProjItem &project, const QString &idList);
// Writes each missing preview image among the first min(photos, 12) from the photos at the end
// of those positions, in ascending order.
void RefillPreviewImages(const TProjItem &project);
// The "AddPhoto" invoke text for the whole photo list after a project was opened (thumbnails
// remade, preview images rewritten); empty without photos.
QString ReloadPhotosXml(TProjItem &project, QProgressBar *progressBar);
// Removes photos and music elements whose files are gone, adding their paths to `missing`.
void RemoveMissingFiles(TProjItem &project, QStringList &missing);

// With no photos: the "msg_thereis" message and false.
bool CheckHasPhotos(const TProjItem &project, QWidget *parent);
// With MaxPhotos photos or more: the "msg_max_photo" message and false.
bool CheckPhotoLimit(const TProjItem &project, QWidget *parent);
