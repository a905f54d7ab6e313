// Entry point of the gallery maker.

#include "UCommonPart.h"
#include "UMain.h"
#include "project/UPublicFunction.h"
#include "publish/HeadlessPublish.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

QString ownPath()
{
    return QCoreApplication::applicationFilePath();
}

int printVersion()
{
    std::printf("%s %s\n", qPrintable(ProductTitle()), qPrintable(ProgramVersion(ownPath())));
    return 0;
}

int printUsage()
{
    std::fprintf(stderr, "usage: Pictavo [PROJECT.vlpj]\n"
                         "       Pictavo --version\n"
                         "       Pictavo --publish PROJECT.vlpj --kind swf|exe|html|scr --output PATH [--size WxH]\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    // Without an option the gallery maker opens its window (with an optional project path).
    if (argc < 2 || argv[1][0] != '-')
        return RunGalleryMaker(argc, argv);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(ProductTitle());
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.value(0) == QLatin1String("--version"))
        return printVersion();
    if (arguments.value(0) == QLatin1String("--publish"))
        return RunHeadlessPublish(arguments);
    return printUsage();
}
