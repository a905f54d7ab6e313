#include "ImagingPlatform.h"

#include <QGuiApplication>
#include <QImageReader>

#include <mutex>

void StartImagingPlatform()
{
    static std::once_flag started;
    std::call_once(started, [] {
        const int limitMiB = int(kMaxPictureBytes >> 20);
        const int current = QImageReader::allocationLimit();
        if (current != 0 && current < limitMiB)
            QImageReader::setAllocationLimit(limitMiB);
    });
}

bool StartTextPlatform()
{
    StartImagingPlatform();
    static std::once_flag started;
    std::call_once(started, [] {
        if (QCoreApplication::instance())
            return;
        // The application object lives for the rest of the process; Qt keeps pointers to argc
        // and argv, so they are static too.
        static int argc = 3;
        static char name[] = "VexaImageProcessing";
        static char platformOption[] = "-platform";
        static char platform[] = "offscreen";
        static char *argv[] = {name, platformOption, platform, nullptr};
        new QGuiApplication(argc, argv);
    });
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

bool PictureSizeAllowed(long long width, long long height)
{
    return width > 0 && height > 0 && width * height * 4 <= kMaxPictureBytes;
}
