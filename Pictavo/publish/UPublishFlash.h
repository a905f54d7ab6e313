#pragma once
// The publish engine: turns the project into one Flash movie. Stage 2 (`PrepareImages`) fits
// every photo into a 4:3 box and re-encodes it; stage 3 (`Publish`) packs the template movie,
// background picture, photos and music into the data pack, sizes the gallery player movie,
// writes the project XML and joins player, marker, XML and pack into the output.
//
// Errors are AppError; a cancelled publish raises AppError("Cancel"). Neither leaves an output
// file behind or changes an existing one.

#include "publish/UWriteFile.h"

#include <QSize>
#include <QString>
#include <memory>

class TProjItem;
class TProgressReceiver;

// The movie the engine writes for the kinds that are packaged further (program, web page,
// screen saver) and for the preview: "TempImg/TempFlash.swf" of the program folder.
QString PackagedMoviePath();

class TPublishFlash {
public:
    // Starts the data pack as a copy of the base movie ("File Not Found %s" when it is missing).
    TPublishFlash(TProjItem &project, TProgressReceiver &progressWindow);
    ~TPublishFlash();
    TPublishFlash(const TPublishFlash &) = delete;
    TPublishFlash &operator=(const TPublishFlash &) = delete;

    // Stage 2. Photos are encoded on up to `ImageThreads` threads; the results, names and
    // progress are the same as one after the other.
    void PrepareImages();
    // Stage 3.
    void Publish();

    // The 4:3 box the photos of a movie of `width` × `height` are fitted into, at most
    // 1600 × 1200.
    static QSize ImageBox(int width, int height);
    // The image packed for `source`: the re-encoded file `encoded` moved into the work folder as
    // "<name>_OutPut.jpeg" (numbered when taken), or `source` itself when re-encoding failed
    // (`encoded` empty).
    QString MakeOutputImage(const QString &source, const QString &encoded);

    // Where the engine writes the movie for the project's output kind.
    QString OutputMoviePath() const;

    // Threads for stage 2; 0 uses every core.
    int ImageThreads = 0;

    const QString AppFolder;

private:
    void SendProgress(int done, int count);
    void CheckCancel() const;
    void PackTemplate();
    void PackPhotos();
    void PackMusic();

    TProjItem &Project;
    TProgressReceiver &ProgressWindow;
    std::unique_ptr<TWriteFile> Pack;
};
