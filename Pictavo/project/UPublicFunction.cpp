#include "UPublicFunction.h"

#include "platform/AppError.h"
#include "platform/VersionRecordReader.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

QString ProgramVersion(const QString &programPath)
{
    const auto version = ReadVersionRecord(programPath);
    if (!version)
        return {};
    return QStringLiteral("%1.%2.%3.%4")
        .arg((*version)[0]).arg((*version)[1]).arg((*version)[2]).arg((*version)[3]);
}

QString DocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

QString UniqueFileName(const QString &path, const QString &base, const QString &ext)
{
    QString candidate = path;
    const QString folder = path.left(path.lastIndexOf(u'/') + 1);
    for (int n = 1; QFileInfo::exists(candidate); ++n)
        candidate = folder + base + QStringLiteral("(%1)").arg(n) + ext;
    return candidate;
}

QString FileDateText(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw AppError(QStringLiteral("'%1' is not a valid date and time").arg(path));
    QDateTime written = info.lastModified().toLocalTime();
    const QTime time = written.time();
    written.setTime(QTime(time.hour(), time.minute(), time.second() - time.second() % 2));
    if (written.time() == QTime(0, 0))
        return written.toString(QStringLiteral("yyyy-MM-dd"));
    return written.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

int64_t GetFileSize64(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return -1;
    return info.isFile() ? info.size() : 0;
}

bool IsValidFileName(const QString &name)
{
    static const QString forbidden = QStringLiteral("\"*/:<>?\\|");
    if (name.isEmpty())
        return false;
    for (const QChar c : name) {
        if (forbidden.contains(c))
            return false;
    }
    return true;
}

QString SecondsToClock(int64_t seconds)
{
    const auto twoDigits = [](int64_t value) {
        return (value < 10 ? QStringLiteral("0") : QString()) + QString::number(value);
    };
    return twoDigits(seconds / 3600) + u':' + twoDigits(seconds % 3600 / 60) + u':' +
           twoDigits(seconds % 60);
}

namespace {

void deleteTree(const fs::path &folder)
{
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::file_status status = it->symlink_status(error);
        if (fs::is_directory(status))
            deleteTree(it->path());
        else
            fs::remove(it->path(), error);
    }
    fs::remove(folder, error);
}

void copyTree(const fs::path &source, const fs::path &target, const fs::path &outermostTarget)
{
    std::error_code error;
    if (!fs::is_directory(target, error) && !fs::create_directory(target, error))
        return;
    std::vector<fs::path> folders;
    for (fs::directory_iterator it(source, error), end; !error && it != end; it.increment(error)) {
        const fs::file_status status = it->symlink_status(error);
        if (fs::is_regular_file(status)) {
            std::error_code copyError;
            fs::copy_file(it->path(), target / it->path().filename(),
                          fs::copy_options::overwrite_existing, copyError);
        } else if (fs::is_directory(status)) {
            // A target inside the source would otherwise be copied into itself without end.
            if (!fs::equivalent(it->path(), outermostTarget, error))
                folders.push_back(it->path());
            error.clear();
        }
    }
    for (const fs::path &folder : folders)
        copyTree(folder, target / folder.filename(), outermostTarget);
}

} // namespace

bool DeleteFolder(const QString &folder)
{
    if (!folder.isEmpty())
        deleteTree(fs::path(folder.toStdU16String()));
    return true;
}

void CopyFolder(const QString &source, const QString &target)
{
    const QString from = source.trimmed();
    const QString to = target.trimmed();
    if (from.isEmpty() || to.isEmpty())
        return;
    std::error_code error;
    const fs::path targetPath(to.toStdU16String());
    if (!fs::is_directory(targetPath, error) && !fs::create_directory(targetPath, error))
        return;
    copyTree(fs::path(from.toStdU16String()), targetPath, targetPath);
}

void IncludeBackslash(QString &path)
{
    if (!path.endsWith(u'/'))
        path += u'/';
}

int TakeNumberBeforeDash(QString &text)
{
    const qsizetype dash = text.indexOf(u'-');
    const QString number = dash < 0 ? QString() : text.left(dash);
    bool ok = false;
    const int value = number.trimmed() == number ? number.toInt(&ok, 10) : 0;
    if (!ok)
        throw AppError(QStringLiteral("'%1' is not a valid integer value").arg(number));
    text = text.mid(dash + 1);
    return value;
}

uint32_t ColorToRGB(uint32_t color, uint8_t alpha)
{
    const uint32_t red = color & 0xFF, green = (color >> 8) & 0xFF, blue = (color >> 16) & 0xFF;
    return uint32_t(alpha) << 24 | red << 16 | green << 8 | blue;
}

uint32_t RGBToColor(uint32_t value, uint8_t &alpha)
{
    alpha = uint8_t(value >> 24);
    const uint32_t red = (value >> 16) & 0xFF, green = (value >> 8) & 0xFF, blue = value & 0xFF;
    return blue << 16 | green << 8 | red;
}
