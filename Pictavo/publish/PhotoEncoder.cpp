#include "publish/PhotoEncoder.h"

#include "VexaImageProcessing.h"

#include <QFile>

bool EncodePublishedPhoto(const QString &source, const QString &target, QSize box)
{
    return VexaSetImageSize(reinterpret_cast<const char16_t *>(source.utf16()),
                            reinterpret_cast<const char16_t *>(target.utf16()), box.width(), box.height(),
                            VEXA_OUT_JPEG, 80) == 1;
}

TPhotoEncoder::TPhotoEncoder(std::vector<Job> jobs, int threads, std::function<bool()> cancelled)
    : Jobs(std::move(jobs)), Cancelled(std::move(cancelled)), States(Jobs.size(), State::Pending)
{
    const int count = std::max(1, std::min(threads, static_cast<int>(Jobs.size())));
    RunningWorkers = count;
    for (int i = 0; i < count; ++i)
        Workers.emplace_back([this] { Work(); });
}

TPhotoEncoder::~TPhotoEncoder()
{
    {
        std::lock_guard guard(Lock);
        Stopping = true;
    }
    for (std::thread &worker : Workers)
        worker.join();
    for (size_t i = 0; i < Jobs.size(); ++i)
        if (States[i] == State::Written)
            QFile::remove(Jobs[i].Target);
}

void TPhotoEncoder::Work()
{
    for (;;) {
        size_t index;
        {
            std::lock_guard guard(Lock);
            if (Stopping || NextJob >= Jobs.size())
                break;
            index = NextJob++;
        }
        if (Cancelled())
            break;
        const Job &job = Jobs[index];
        const bool written = EncodePublishedPhoto(job.Source, job.Target, job.Box);
        std::lock_guard guard(Lock);
        States[index] = written ? State::Written : State::Failed;
        Finished.notify_all();
    }
    std::lock_guard guard(Lock);
    --RunningWorkers;
    Finished.notify_all();
}

TPhotoEncoder::Result TPhotoEncoder::Take(size_t index)
{
    std::unique_lock guard(Lock);
    Finished.wait(guard, [&] { return States[index] != State::Pending || RunningWorkers == 0; });
    const State state = States[index];
    if (state == State::Pending)
        return Result::NotRun;
    States[index] = State::Taken;
    return state == State::Written ? Result::Written : Result::Failed;
}
