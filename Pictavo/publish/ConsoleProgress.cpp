#include "publish/ConsoleProgress.h"

#include <QByteArray>

namespace {

constexpr int BarWidth = 40;

} // namespace

TConsoleProgress::TConsoleProgress(std::FILE *out, bool interactive) : Out(out), Interactive(interactive) {}

TConsoleProgress::~TConsoleProgress()
{
    Finish();
}

void TConsoleProgress::Finish()
{
    if (BarOpen)
        std::fputc('\n', Out);
    BarOpen = false;
    LastPercent = -1;
    std::fflush(Out);
}

void TConsoleProgress::DrawBar(int percent)
{
    const int filled = percent * BarWidth / 100;
    const QByteArray bar = QByteArray(filled, '#') + QByteArray(BarWidth - filled, '.');
    std::fprintf(Out, "%s  [%s] %3d%%", Interactive ? "\r" : "", bar.constData(), percent);
    BarOpen = true;
    if (!Interactive)
        Finish();
    std::fflush(Out);
}

void TConsoleProgress::PublishProgress(int percent, int stage)
{
    if (stage != 0) {
        Finish();
        const int number = stage == PublishStagePhotos ? 2 : stage == PublishStagePack ? 3 : 1;
        std::fprintf(Out, "%s\n", PublishStageText(number).toLocal8Bit().constData());
        if (Interactive)
            DrawBar(0);
        return;
    }
    percent = std::clamp(percent, 0, 100);
    if (percent == LastPercent)
        return;
    LastPercent = percent;
    if (Interactive || percent == 100)
        DrawBar(percent);
}

void TConsoleProgress::PublishNotice(const QString &text)
{
    Finish();
    std::fprintf(Out, "%s\n", text.toLocal8Bit().constData());
    std::fflush(Out);
}
