#pragma once
// Re-encodes photos on worker threads that run ahead of one consumer taking the results in list
// order. The consumer decides names and reports progress, so the outcome does not depend on how
// many threads did the work or in which order they finished.

#include <QSize>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TPhotoEncoder {
public:
    struct Job {
        QString Source;
        QString Target; // a private name; the consumer moves the result to its final name
        QSize Box;
    };
    enum class Result { Written, Failed, NotRun };

    // Starts `threads` workers (at least one). Each checks `cancelled` before every photo and
    // stops once it answers true.
    TPhotoEncoder(std::vector<Job> jobs, int threads, std::function<bool()> cancelled);
    // Stops the workers, waits for them and removes results that were not taken.
    ~TPhotoEncoder();
    TPhotoEncoder(const TPhotoEncoder &) = delete;
    TPhotoEncoder &operator=(const TPhotoEncoder &) = delete;

    // Waits for job `index`. Written: its target holds the photo, now the caller's to move.
    // NotRun: the workers stopped (cancellation) before reaching it.
    Result Take(size_t index);

private:
    void Work();

    enum class State { Pending, Written, Failed, Taken };
    const std::vector<Job> Jobs;
    const std::function<bool()> Cancelled;
    std::vector<State> States;
    size_t NextJob = 0;
    int RunningWorkers = 0;
    bool Stopping = false;
    std::mutex Lock;
    std::condition_variable Finished;
    std::vector<std::thread> Workers;
};

// The image library's re-encode: JPEG of quality 80 no larger than `box`; true when written.
bool EncodePublishedPhoto(const QString &source, const QString &target, QSize box);
