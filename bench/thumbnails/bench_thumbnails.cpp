// Thumbnail benchmark: VexaSetImageSize beside vipsthumbnail over the same photos, one thread,
// for the boxes the gallery maker uses. Prints photos per second of both and the mean PSNR of
// both against a reference: the full decode reduced by a plain double-precision Lanczos filter.
//   bench_thumbnails PHOTO_DIR WORK_DIR [REPEATS]     (BENCH_DETAIL=1: PSNR of every photo)

#include "VexaImageProcessing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

namespace {

const QSize kBoxes[] = {{240, 180}, {640, 480}, {720, 540}, {1600, 1200}};

double Lanczos3(double x)
{
    x = std::fabs(x);
    if (x < 1e-12)
        return 1;
    if (x >= 3)
        return 0;
    return 3 * std::sin(M_PI * x) * std::sin(M_PI * x / 3) / (M_PI * M_PI * x * x);
}

// One axis of the reference filter: for each output index, (source index, weight) pairs.
std::vector<std::vector<std::pair<int, double>>> AxisWeights(int from, int to)
{
    const double scale = double(from) / to, support = 3 * std::max(scale, 1.0);
    std::vector<std::vector<std::pair<int, double>>> axis(to);
    for (int i = 0; i < to; ++i) {
        const double center = (i + 0.5) * scale;
        double sum = 0;
        for (int j = std::max(0, int(center - support)); j < std::min(from, int(center + support) + 1); ++j) {
            const double w = Lanczos3((j + 0.5 - center) / std::max(scale, 1.0));
            axis[i].push_back({j, w});
            sum += w;
        }
        for (auto &tap : axis[i])
            tap.second /= sum;
    }
    return axis;
}

// The full picture reduced to exactly size, as three double planes (R, G, B) row by row.
std::vector<double> Reference(const QImage &full, QSize size)
{
    const int w = full.width(), h = full.height();
    const auto horizontal = AxisWeights(w, size.width());
    const auto vertical = AxisWeights(h, size.height());
    std::vector<double> rows(size_t(h) * size.width() * 3);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(full.constScanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            double r = 0, g = 0, b = 0;
            for (auto [j, wt] : horizontal[x]) {
                r += qRed(line[j]) * wt;
                g += qGreen(line[j]) * wt;
                b += qBlue(line[j]) * wt;
            }
            double *out = &rows[(size_t(y) * size.width() + x) * 3];
            out[0] = r, out[1] = g, out[2] = b;
        }
    }
    std::vector<double> result(size_t(size.width()) * size.height() * 3, 0.0);
    for (int y = 0; y < size.height(); ++y)
        for (auto [j, wt] : vertical[y])
            for (int x = 0; x < size.width() * 3; ++x)
                result[size_t(y) * size.width() * 3 + x] += rows[size_t(j) * size.width() * 3 + x] * wt;
    return result;
}

double Psnr(const std::vector<double> &reference, const QImage &picture)
{
    double squares = 0;
    const int w = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const double *ref = &reference[(size_t(y) * w + x) * 3];
            const double d[3] = {qRed(line[x]) - std::clamp(ref[0], 0.0, 255.0),
                                 qGreen(line[x]) - std::clamp(ref[1], 0.0, 255.0),
                                 qBlue(line[x]) - std::clamp(ref[2], 0.0, 255.0)};
            squares += d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        }
    }
    const double mse = squares / (3.0 * w * picture.height());
    return 10 * std::log10(255.0 * 255.0 / std::max(mse, 1e-10));
}

QString OutputDir(const QString &work, const char *tool, QSize box)
{
    return QStringLiteral("%1/%2-%3x%4").arg(work, tool).arg(box.width()).arg(box.height());
}

double RunOurs(const QStringList &photos, const QString &dir, QSize box)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &photo : photos) {
        const QString dest = dir + "/" + QFileInfo(photo).completeBaseName() + ".jpeg";
        if (!VexaSetImageSize(reinterpret_cast<const char16_t *>(photo.utf16()),
                              reinterpret_cast<const char16_t *>(dest.utf16()), box.width(),
                              box.height(), VEXA_OUT_JPEG, 80))
            std::fprintf(stderr, "VexaSetImageSize failed: %s\n", qPrintable(photo));
    }
    return timer.nsecsElapsed() / 1e9;
}

double RunVips(const QStringList &photos, const QString &dir, QSize box)
{
    QProcess vips;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VIPS_CONCURRENCY", "1");
    vips.setProcessEnvironment(env);
    vips.setStandardOutputFile(QProcess::nullDevice());
    vips.setStandardErrorFile(QProcess::nullDevice()); // it warns about odd EXIF fields
    QStringList args = {"-s", QStringLiteral("%1x%2>").arg(box.width()).arg(box.height()),
                        "-o", dir + "/%s.jpg[Q=80]"};
    args += photos;
    QElapsedTimer timer;
    timer.start();
    vips.start("vipsthumbnail", args);
    if (!vips.waitForFinished(-1) || vips.exitCode() != 0)
        std::fprintf(stderr, "vipsthumbnail failed\n");
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PHOTO_DIR WORK_DIR [REPEATS]\n", argv[0]);
        return 2;
    }
    const QString photoDir = QString::fromLocal8Bit(argv[1]);
    const QString work = QString::fromLocal8Bit(argv[2]);
    const int repeats = argc > 3 ? std::max(1, atoi(argv[3])) : 3;
    const bool detail = qEnvironmentVariableIsSet("BENCH_DETAIL"); // PSNR of every photo
    QStringList photos;
    for (const QString &name : QDir(photoDir).entryList({"*.jpg", "*.jpeg"}, QDir::Files, QDir::Name))
        photos << photoDir + "/" + name;
    if (photos.isEmpty()) {
        std::fprintf(stderr, "no photos in %s\n", argv[1]);
        return 1;
    }

    // Timing: the best of the repeats, alternating the two tools so both see the same load.
    std::map<int, std::pair<double, double>> best; // box index -> (ours, vips) seconds
    for (int b = 0; b < int(std::size(kBoxes)); ++b) {
        const QSize box = kBoxes[b];
        double ours = 1e30, vips = 1e30;
        for (int r = 0; r < repeats; ++r) {
            for (const char *tool : {"ours", "vips"}) {
                const QString dir = OutputDir(work, tool, box);
                QDir(dir).removeRecursively();
                QDir().mkpath(dir);
            }
            ours = std::min(ours, RunOurs(photos, OutputDir(work, "ours", box), box));
            vips = std::min(vips, RunVips(photos, OutputDir(work, "vips", box), box));
        }
        best[b] = {ours, vips};
    }

    // Quality: every output against the reference of its own size.
    std::vector<double> psnrOurs(std::size(kBoxes)), psnrVips(std::size(kBoxes));
    for (const QString &photo : photos) {
        QImageReader reader(photo);
        reader.setAutoTransform(true);
        const QImage full = reader.read().convertToFormat(QImage::Format_RGB32);
        const QString base = QFileInfo(photo).completeBaseName();
        for (int b = 0; b < int(std::size(kBoxes)); ++b) {
            const QImage ours = QImage(OutputDir(work, "ours", kBoxes[b]) + "/" + base + ".jpeg").convertToFormat(QImage::Format_RGB32);
            const QImage vips = QImage(OutputDir(work, "vips", kBoxes[b]) + "/" + base + ".jpg").convertToFormat(QImage::Format_RGB32);
            std::map<std::pair<int, int>, std::vector<double>> references;
            for (const QImage *out : {&ours, &vips}) {
                const auto key = std::make_pair(out->width(), out->height());
                if (!references.count(key))
                    references[key] = Reference(full, out->size());
            }
            const double oursPsnr = Psnr(references[{ours.width(), ours.height()}], ours);
            const double vipsPsnr = Psnr(references[{vips.width(), vips.height()}], vips);
            psnrOurs[b] += oursPsnr / photos.size();
            psnrVips[b] += vipsPsnr / photos.size();
            if (detail)
                std::printf("%-40s %4dx%-4d %6.2f %6.2f\n", qPrintable(base), kBoxes[b].width(),
                            kBoxes[b].height(), oursPsnr, vipsPsnr);
        }
    }

    std::printf("%d photos, 1 thread, best of %d runs, JPEG quality 80\n", int(photos.size()), repeats);
    std::printf("%-11s %12s %12s %7s %11s %11s %8s\n", "box", "ours ph/s", "vips ph/s", "ratio",
                "ours PSNR", "vips PSNR", "dPSNR");
    for (int b = 0; b < int(std::size(kBoxes)); ++b) {
        const double ours = photos.size() / best[b].first, vips = photos.size() / best[b].second;
        std::printf("%4dx%-6d %12.1f %12.1f %6.2fx %9.2f dB %9.2f dB %+7.2f\n", kBoxes[b].width(),
                    kBoxes[b].height(), ours, vips, ours / vips, psnrOurs[b], psnrVips[b],
                    psnrOurs[b] - psnrVips[b]);
    }
    return 0;
}
