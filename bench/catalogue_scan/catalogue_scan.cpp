// Builds the catalogue of a folder tree into a fresh data store and prints how long it took.
// With --compare-find it also times find(1) printing size, times, mode and path of every file
// of the same tree (warmed by a first, untimed find) and prints the ratio scan / find.
//
// Each is run --runs times (default 3, taking turns) and the fastest run counts, as other
// work on the machine only ever adds time.
//
// usage: catalogue_scan [--compare-find] [--runs N] DIR
//        catalogue_scan --make-tree DIR [--files N] [--folders M]
//        (makes a tree of N files, default 200000, in M folders, default 20000)
#include "CatalogueReader.h"
#include "CatalogueScanJob.h"
#include "Store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

#include <sys/resource.h>

namespace
{

// Folders two levels deep (about sqrt(M) per level), files spread evenly, names with the
// extensions a real disk holds.
bool makeTree(const QString &root, int files, int folders)
{
    static const char *const extensions[] = {"txt", "doc",    "jpg", "png", "mp3", "pdf",
                                             "c",   "h",      "cpp", "xls", "zip", "html",
                                             "",    "tar.gz", "JPG", "md"};
    const int top = std::max(1, int(std::sqrt(double(folders))));
    QStringList paths;
    for (int i = 0; i < folders; ++i) {
        const QString path = root + QStringLiteral("/d%1/s%2").arg(i % top).arg(i / top);
        if (!QDir().mkpath(path))
            return false;
        paths << path;
    }
    for (int i = 0; i < files; ++i) {
        const char *ext = extensions[i % (sizeof extensions / sizeof *extensions)];
        const QString name =
            QStringLiteral("/file %1%2%3").arg(i).arg(*ext ? "." : "").arg(QLatin1String(ext));
        QFile file(paths[i % paths.size()] + name);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(QByteArray(i % 3000, 'x'));
    }
    return true;
}

// Processor seconds (user and system) used so far by this process, or by its finished
// children.
double cpuSeconds(int who)
{
    struct rusage usage;
    if (getrusage(who, &usage) != 0)
        return 0;
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double timeFind(const QString &dir, double *cpu = nullptr)
{
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    find.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    find.start(QStringLiteral("find"),
               {dir, QStringLiteral("-printf"), QStringLiteral("%s %T@ %C@ %m %p\\n")});
    if (!find.waitForFinished(-1))
        return -1;
    if (cpu)
        *cpu = cpuSeconds(RUSAGE_CHILDREN) - before;
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const int makeAt = int(args.indexOf(QStringLiteral("--make-tree")));
    if (makeAt >= 0) {
        const QString dir = args.value(makeAt + 1);
        const int filesAt = int(args.indexOf(QStringLiteral("--files")));
        const int foldersAt = int(args.indexOf(QStringLiteral("--folders")));
        const int files = filesAt >= 0 ? args.value(filesAt + 1).toInt() : 200000;
        const int folders = foldersAt >= 0 ? args.value(foldersAt + 1).toInt() : 20000;
        if (dir.isEmpty() || files <= 0 || folders <= 0 || !makeTree(dir, files, folders)) {
            std::fprintf(stderr, "could not make the tree\n");
            return 1;
        }
        std::printf("made files=%d folders=%d in %s\n", files, folders, qPrintable(dir));
        return 0;
    }
    const bool compare = args.contains(QStringLiteral("--compare-find"));
    const int runsAt = int(args.indexOf(QStringLiteral("--runs")));
    const int runs = runsAt >= 0 ? std::max(1, args.value(runsAt + 1).toInt()) : 3;
    QString dir;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs"))
            ++i;
        else if (!args[i].startsWith(QLatin1String("--")))
            dir = args[i];
    }
    if (dir.isEmpty() || !QDir(dir).exists()) {
        std::fprintf(stderr, "usage: catalogue_scan [--compare-find] DIR | --make-tree DIR\n");
        return 2;
    }
    dir = QDir(dir).absolutePath();

    QTemporaryDir program;
    qputenv("NUVELA_PROGRAM_DIR", program.path().toUtf8());
    QString storePath;
    if (compare)
        timeFind(dir); // warms the tree for both

    double best = -1;
    double bestFind = -1;
    double bestCpu = -1;
    double bestFindCpu = -1;
    qint64 files = 0;
    qint64 folders = 0;
    bool succeeded = true;
    for (int run = 0; run < runs; ++run) {
        // Every run fills a fresh store, made before the clock starts.
        storePath = program.path() + QStringLiteral("/run%1.dll").arg(run);
        QString error;
        if (!Store::createIfMissing(Store::Kind::Data, storePath, &error)) {
            std::fprintf(stderr, "no store: %s\n", qPrintable(error));
            return 1;
        }
        CatalogueScanJob job(storePath, dir, CatalogueScanJob::Mode::Tree);
        job.setClearFirst(true);
        QElapsedTimer timer;
        const double cpuBefore = cpuSeconds(RUSAGE_SELF);
        timer.start();
        job.runHere();
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double cpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
        bestCpu = bestCpu < 0 ? cpu : std::min(bestCpu, cpu);
        succeeded = succeeded && job.succeeded();
        files = job.filesDone();
        folders = job.foldersDone();
        best = best < 0 ? seconds : std::min(best, seconds);
        if (compare) {
            double findCpu = 0;
            const double find = timeFind(dir, &findCpu);
            bestFind = bestFind < 0 ? find : std::min(bestFind, find);
            bestFindCpu = bestFindCpu < 0 ? findCpu : std::min(bestFindCpu, findCpu);
        }
    }
    std::printf("files=%lld folders=%lld seconds=%.3f cpu_seconds=%.3f\n", files, folders, best,
                bestCpu);
    if (compare) {
        std::printf("find_seconds=%.3f find_cpu_seconds=%.3f\n", bestFind, bestFindCpu);
        // The wall-clock ratio is the goal; the processor-time ratio is steadier on a busy machine.
        std::printf("ratio=%.2f cpu_ratio=%.2f\n", bestFind > 0 ? best / bestFind : 0.0,
                    bestFindCpu > 0 ? bestCpu / bestFindCpu : 0.0);
    }
    // Reading the catalogue back, as the database view does before filling its grid.
    {
        Store store(Store::Kind::Data, storePath);
        QElapsedTimer timer;
        timer.start();
        const size_t rows = CatalogueReader::read(store, 0).size();
        std::printf("read_rows=%zu read_seconds=%.3f\n", rows, timer.nsecsElapsed() / 1e9);
    }
    return succeeded ? 0 : 1;
}
