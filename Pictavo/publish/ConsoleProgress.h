#pragma once
// Shows a publish on a terminal: each stage's text on a line of its own, then a progress bar
// redrawn in place. When the output is not a terminal, only each stage's completion is printed.

#include "publish/ProgressReceiver.h"

#include <cstdio>

class TConsoleProgress : public TProgressReceiver {
public:
    explicit TConsoleProgress(std::FILE *out, bool interactive);
    ~TConsoleProgress() override;

    void PublishProgress(int percent, int stage) override;
    void PublishNotice(const QString &text) override;

    // Ends the current bar's line.
    void Finish();

private:
    void DrawBar(int percent);

    std::FILE *Out;
    const bool Interactive;
    bool BarOpen = false;
    int LastPercent = -1;
};
