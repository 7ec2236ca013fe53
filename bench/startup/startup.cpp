// Starts the program offscreen until its main window is shown, and the minimal Qt Widgets
// program the same way, N times each; prints both medians and their ratio.
//
// usage: startup [--runs N] [PROGRAM] [MINIMAL]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

double medianMs(const QString &program, int runs, const QProcessEnvironment &env)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(program, {});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            std::fprintf(stderr, "%s did not finish cleanly\n", qPrintable(program));
            return -1;
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int runs = 11;
    if (args.size() >= 2 && args.first() == QLatin1String("--runs")) {
        runs = std::max(1, args.at(1).toInt());
        args = args.mid(2);
    }
    const QString dir = QCoreApplication::applicationDirPath();
    const QString program = args.value(0, dir + "/../src/app/nuvela-utilities");
    const QString minimal = args.value(1, dir + "/startup_minimal");

    // A program folder of its own, with the stores made once before timing.
    QTemporaryDir programDir, userDir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("NUVELA_PROGRAM_DIR", programDir.path());
    env.insert("NUVELA_USER_FILES", userDir.path());
    env.insert("NUVELA_QUIT_WHEN_SHOWN", "1");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    medianMs(program, 1, env);

    const double ours = medianMs(program, runs, env);
    const double base = medianMs(minimal, runs, env);
    if (ours < 0 || base < 0)
        return 1;
    std::printf("runs=%d program_median_ms=%.1f minimal_median_ms=%.1f ratio=%.2f\n", runs, ours,
                base, ours / base);
    return 0;
}
