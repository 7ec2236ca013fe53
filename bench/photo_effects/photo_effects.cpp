// Times the photo editor's operations on a generated 24 MP photo against ImageMagick's convert
// on the same file, with the same parameters and the resource limits the editor's imaging module
// runs under. Each figure is the fastest of --runs runs (default 3), in milliseconds.
//
// convert's time for an operation is its load+operation+save run minus a load+save run; for
// "load" it is a load-only run (convert FILE null:) minus convert's start-up, and for "save" the
// load+save run minus the load-only run. JPEG is saved at quality 90 with 4:2:0 sampling and
// without optimised Huffman tables by both.
//
// usage: photo_effects [--runs N]
// prints: op=NAME ms=A convert_ms=B ratio=A/B   (one line each), then worst_ratio=R
#include "EffectTable.h"
#include "ImagingEngine.h"
#include "ImagingModule.h"
#include "PictureFile.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

namespace
{

// Gradients, soft circles and fine noise: about as hard to compress and filter as a photo.
QImage generatedPhoto(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(17);
    std::uniform_int_distribution<int> noise(-12, 12);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double wave = std::sin(x * 0.004) * std::cos(y * 0.006);
            const int r = int(128 + 100 * wave) + noise(random);
            const int g = int(x * 200.0 / width) + noise(random);
            const int b = int(y * 200.0 / height + 30 * std::sin((x + y) * 0.02)) + noise(random);
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

double elapsedMs(const std::function<void()> &run)
{
    QElapsedTimer timer;
    timer.start();
    run();
    return timer.nsecsElapsed() / 1e6;
}

double convertRunMs(const QStringList &arguments)
{
    return elapsedMs([&] {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral("convert"), arguments);
        if (!process.waitForFinished(600000) || process.exitCode() != 0)
            std::fprintf(stderr, "convert %s failed\n", qPrintable(arguments.join(' ')));
    });
}

// The fastest of runs, the program's and convert's runs taken in turn so that both meet the
// same load on a shared machine.
struct Pair {
    double ms = 1e300;
    double convertMs = 1e300;
};
Pair fastestPair(int runs, const std::function<void()> &program, const QStringList &convert)
{
    Pair best;
    for (int i = 0; i < runs; ++i) {
        best.ms = std::min(best.ms, elapsedMs(program));
        best.convertMs = std::min(best.convertMs, convertRunMs(convert));
    }
    return best;
}

double fastestConvert(int runs, const QStringList &arguments)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, convertRunMs(arguments));
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--runs")));
    const int runs = at > 0 ? std::max(1, args.value(at + 1).toInt()) : 3;

    ImagingModule::setPath(QStringLiteral(NUVELA_IMAGING_MODULE));
    ImagingEngine *engine = ImagingModule::engine();
    if (!engine) {
        std::fprintf(stderr, "%s\n", qPrintable(ImagingModule::unavailableText()));
        return 1;
    }
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    const QString out = dir.filePath(QStringLiteral("out.jpg"));
    QString error;
    const PictureFile::Options jpeg{QStringLiteral("JPG"), 90, QString(), {}};
    if (!PictureFile::write(generatedPhoto(6000, 4000), photo, jpeg, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    const QStringList limits = engine->limitArguments();
    const QStringList save = {"-quality",
                              "90",
                              "-sampling-factor",
                              "2x2,1x1,1x1",
                              "-define",
                              "jpeg:optimize-coding=false",
                              out};
    const double startUp =
        fastestConvert(runs, limits + QStringList{"-size", "1x1", "xc:white", "null:"});
    const double loadSave = fastestConvert(runs, limits + QStringList{photo} + save);

    QImage picture;
    struct Row {
        QString name;
        double ms;
        double convert;
    };
    QList<Row> rows;
    const Pair load = fastestPair(
        runs, [&] { picture = PictureFile::read(photo).image; },
        limits + QStringList{photo, "null:"});
    rows.append({"load", load.ms, load.convertMs - startUp});
    const struct {
        const char *name;
        EffectRequest request;
        QStringList convert;
    } operations[] = {
        {"blur", {Effect::Blur, {3}, {}}, {"-blur", "0x3"}},
        {"rotate90", {Effect::Rotate90, {}, {}}, {"-rotate", "90"}},
        {"resize50", {Effect::ResizeTo, {3000, 2000}, {}}, {"-resize", "50%"}},
        {"swirl", {Effect::Swirl, {180}, {}}, {"-swirl", "180"}},
    };
    for (const auto &op : operations) {
        QImage result;
        const Pair pair = fastestPair(
            runs,
            [&] {
                if (!EffectTable::apply(picture, op.request, &result, &error))
                    std::fprintf(stderr, "%s: %s\n", op.name, qPrintable(error));
            },
            limits + QStringList{photo} + op.convert + save);
        rows.append({QString::fromLatin1(op.name), pair.ms, pair.convertMs - loadSave});
    }
    const Pair saved = fastestPair(
        runs, [&] { PictureFile::write(picture, out, jpeg, &error); },
        limits + QStringList{photo} + save);
    rows.append({"save_jpeg", saved.ms, saved.convertMs - (load.convertMs)});

    double worst = 0;
    for (const Row &row : rows) {
        const double ratio = row.ms / std::max(1.0, row.convert);
        worst = std::max(worst, ratio);
        std::printf("op=%s ms=%.0f convert_ms=%.0f ratio=%.2f\n", qPrintable(row.name), row.ms,
                    row.convert, ratio);
    }
    std::printf("worst_ratio=%.2f\n", worst);
    return 0;
}
