#include "publish/UPublishThread.h"

#include "platform/AppError.h"
#include "platform/WindowMessages.h"
#include "project/UDataDef.h"
#include "publish/UPublishFlash.h"

#include <QCoreApplication>

QString RunPublishStages(TProjItem &project, TProgressReceiver &progress)
{
    try {
        TPublishFlash engine(project, progress);
        engine.PrepareImages();
        engine.Publish();
        return PublishSucceeded;
    } catch (const AppError &error) {
        return error.message();
    } catch (const std::exception &error) {
        return QString::fromLocal8Bit(error.what());
    }
}

TSentProgress::TSentProgress(QObject *receiver) : Receiver(receiver) {}

void TSentProgress::PublishProgress(int percent, int stage)
{
    Send(new TMessageEvent(PublishProgressMessage, percent, stage));
}

void TSentProgress::PublishNotice(const QString &text)
{
    Send(new TMessageEvent(PublishNoticeMessage, 0, 0, text));
}

void TSentProgress::Send(QEvent *event)
{
    std::unique_lock<std::mutex> lock(Lock);
    if (Closed) {
        delete event;
        return;
    }
    const quint64 ticket = ++SentCount;
    lock.unlock();
    QCoreApplication::postEvent(Receiver, event);
    lock.lock();
    Done.wait(lock, [&] { return Closed || HandledCount >= ticket; });
}

void TSentProgress::Handled()
{
    {
        std::lock_guard<std::mutex> lock(Lock);
        ++HandledCount;
    }
    Done.notify_all();
}

void TSentProgress::Close()
{
    {
        std::lock_guard<std::mutex> lock(Lock);
        Closed = true;
    }
    Done.notify_all();
}

TExportThread::TExportThread(TProjItem &project, QObject *progressWindow, TProgressReceiver &progress)
    : Project(project), ProgressWindow(progressWindow), Progress(progress)
{
}

TExportThread::~TExportThread()
{
    wait();
}

void TExportThread::run()
{
    Result = RunPublishStages(Project, Progress);
    const int message = Result == PublishSucceeded       ? PublishFinishedMessage
                        : Result == QLatin1String("Cancel") ? PublishCancelledMessage
                                                            : PublishFailedMessage;
    QCoreApplication::postEvent(ProgressWindow, new TMessageEvent(message, 0, 0, message == PublishFailedMessage ? Result : QString()));
}
