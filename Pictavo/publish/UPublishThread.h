#pragma once
// The worker side of a publish: the engine's stages run on a thread of their own, report progress
// by blocking sends to the progress window and the result by a posted message.

#include "publish/ProgressReceiver.h"

#include <QString>
#include <QThread>
#include <condition_variable>
#include <mutex>

class QEvent;
class QObject;
class TProjItem;

// The result messages of the worker, posted to the progress window.
constexpr int PublishFinishedMessage = 0x1771;
constexpr int PublishCancelledMessage = 0x1772;
constexpr int PublishFailedMessage = 0x1774; // carries the error text
// A notice of the engine for the user, sent like the progress message; carries the text.
constexpr int PublishNoticeMessage = 0x177F;

// The result text of a publish that went through.
inline const QString PublishSucceeded = QStringLiteral("Succeed");

// Stages 2 and 3 of the publish with the project's output kind: "Succeed", "Cancel" when the
// publish was cancelled, otherwise the error's message. The headless command and the worker
// thread both run this.
QString RunPublishStages(TProjItem &project, TProgressReceiver &progress);

// A progress receiver on the worker thread whose reports are events for an object of the main
// thread. Each report waits until the receiver called Handled() for it, as a sent message does;
// once Close() was called, waiting reports return and later ones are dropped, so a window that
// waits for the worker while going away cannot deadlock with it.
class TSentProgress final : public TProgressReceiver {
public:
    explicit TSentProgress(QObject *receiver);

    void PublishProgress(int percent, int stage) override;
    void PublishNotice(const QString &text) override;

    // Called by the receiver, on its thread, after it handled one report.
    void Handled();
    void Close();

private:
    void Send(QEvent *event);

    QObject *const Receiver;
    std::mutex Lock;
    std::condition_variable Done;
    bool Closed = false;
    quint64 SentCount = 0;
    quint64 HandledCount = 0;
};

// The publish worker for the project's output kind. It reports through `progress` and posts its
// result message to `progressWindow` when it ends.
class TExportThread final : public QThread {
    Q_OBJECT
public:
    TExportThread(TProjItem &project, QObject *progressWindow, TProgressReceiver &progress);
    ~TExportThread() override;

    // Valid once the thread has ended.
    const QString &ResultText() const { return Result; }

protected:
    void run() override;

private:
    TProjItem &Project;
    QObject *const ProgressWindow;
    TProgressReceiver &Progress;
    QString Result;
};
