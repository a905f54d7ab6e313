// Publishing benchmark: photos per second of stage 2 with one thread and with every core, and the
// seconds and throughput of stage 3 beside `cat` of the same files, all in one run.
//
//   bench_publish PROGRAM_FOLDER PHOTO...
//
// The engine works on a copy of the program folder's data files in a temporary folder. Every
// figure is the best of a few repeats, since the machines are shared.

#include "project/ProjectDefaults.h"
#include "project/UDataDef.h"
#include "publish/ProgressReceiver.h"
#include "publish/UPublishFlash.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <functional>

namespace {

constexpr int Repeats = 3;

struct Quiet : TProgressReceiver {
    void PublishProgress(int, int) override {}
    void PublishNotice(const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

// Best of `Repeats` runs of `work`, in seconds; `prepare` runs untimed before each.
double BestSeconds(const std::function<void()> &prepare, const std::function<void()> &work)
{
    double best = 1e30;
    for (int i = 0; i < Repeats; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

// Processor time the whole process spent in `work`, every thread counted.
double CpuSeconds(const std::function<void()> &work)
{
    auto now = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    };
    const double before = now();
    work();
    return now() - before;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_publish PROGRAM_FOLDER PHOTO...\n");
        return 2;
    }
    QTemporaryDir home;
    for (const char *name : {"Res/BaseFlash.swf", "Res/TemplateXML.xml", "libavcodec-52.dll", "libavformat-52.dll"}) {
        QDir().mkpath(QFileInfo(home.filePath(name)).absolutePath());
        if (!QFile::copy(args[0] + "/" + name, home.filePath(name))) {
            std::fprintf(stderr, "bench_publish: %s is missing from %s\n", name, qPrintable(args[0]));
            return 1;
        }
    }
    qputenv("LUMIVUE_HOME", home.path().toUtf8());

    TProjItem project;
    ApplyStartupValues(project);
    project.SetOutputPath(home.filePath("out/gallery.swf"));
    for (const QString &photo : args.mid(1)) {
        auto item = std::make_unique<TImageObj>();
        item->SetSrcFile(photo);
        project.Images()->Add(std::move(item));
    }
    const int photos = project.Images()->Count();
    Quiet quiet;
    auto freshStage2 = [&] {
        QDir(home.filePath("TempImg")).removeRecursively();
        project.Seting()->SetImgWidth(0);
    };
    auto stage2 = [&](int threads) {
        TPublishFlash engine(project, quiet);
        engine.ImageThreads = threads;
        engine.PrepareImages();
    };

    const int cores = QThread::idealThreadCount();
    // Load from other work on the machine hides any speed-up; it shows in the load average.
    double load[1] = {0};
    getloadavg(load, 1);
    std::printf("load average at the start: %.1f on %d cores\n", load[0], cores);
    double oneCpu = 0, allCpu = 0;
    const double one = BestSeconds(freshStage2, [&] { oneCpu = CpuSeconds([&] { stage2(1); }); });
    const double all = BestSeconds(freshStage2, [&] { allCpu = CpuSeconds([&] { stage2(cores); }); });
    std::printf("stage 2, %d photos at 960 x 540 (box 720 x 540)\n", photos);
    std::printf("  1 thread : %7.1f photos/s, %.1f ms of processor time a photo\n", photos / one, oneCpu * 1e3 / photos);
    std::printf("  %d threads: %7.1f photos/s, %.1f ms of processor time a photo   speed-up %.2f (goal at least 1.7 on 2 cores)\n",
                cores, photos / all, allCpu * 1e3 / photos, one / all);

    // Stage 3 packs the files stage 2 left; cat reads the same files and writes one file.
    QStringList packed{home.filePath("libavcodec-52.dll")};
    qint64 bytes = QFileInfo(packed[0]).size();
    for (int i = 0; i < photos; ++i) {
        packed << project.Images()->Items(i)->OutFile();
        bytes += QFileInfo(packed.last()).size();
    }
    std::unique_ptr<TPublishFlash> engine;
    const double pack = BestSeconds([&] { engine = std::make_unique<TPublishFlash>(project, quiet); },
                                    [&] { engine->Publish(); });
    engine.reset();
    auto runCat = [&](const QStringList &files, const QString &into) {
        QProcess process;
        process.setStandardOutputFile(home.filePath(into));
        process.start("cat", files);
        process.waitForFinished(-1);
    };
    // Once as one copy of the packed files, once doing the copies stage 3 does: the files into
    // the pack, then the sized player, the XML and the pack (left in Temp/ by stage 3) into the
    // movie.
    const double cat = BestSeconds([] {}, [&] { runCat(packed, "cat.out"); });
    const QStringList movieParts{home.filePath("Temp/FlashOutput.swf"), home.filePath("Temp/TemplateXML.xml"),
                                 home.filePath("cat.pack")};
    const double catTwice = BestSeconds([] {}, [&] {
        runCat(packed, "cat.pack");
        runCat(movieParts, "cat.movie");
    });
    // The project XML is written through the model's safe save (synced to disk), a fixed cost.
    const double xml = BestSeconds([] {}, [&] { project.SaveToFile(home.filePath("Temp/TemplateXML.xml")); });
    const double mb = bytes / 1e6;
    std::printf("stage 3, %.1f MB of packed files\n", mb);
    std::printf("  ours          : %.3f s, %7.1f MB/s   (of which %.3f s writing the project XML)\n", pack, mb / pack, xml);
    std::printf("  cat once      : %.3f s, %7.1f MB/s   ratio %.2f (goal at least 0.8)\n", cat, mb / cat, cat / pack);
    std::printf("  cat, same copies: %.3f s, %7.1f MB/s   ratio %.2f\n", catTwice, mb / catTwice, catTwice / pack);
    return 0;
}
