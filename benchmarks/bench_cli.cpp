// Times glyphwright-cli export as whole processes against a program that only creates a
// QCoreApplication, in the same run, and counts the instructions of each under callgrind, which
// vary far less from run to run than the times do.
#include "core/fontimage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int Rounds = 41;

struct Job
{
    QString program;
    QStringList arguments;
};

// Median wall time of each job, from start to exit. The jobs take turns, so that whatever else
// the machine is doing falls on all of them alike.
std::vector<double> medianMicroseconds(const std::vector<Job> &jobs)
{
    std::vector<std::vector<double>> times(jobs.size());
    for (int round = 0; round < Rounds; ++round) {
        for (size_t i = 0; i < jobs.size(); ++i) {
            QProcess process;
            process.setStandardOutputFile(QProcess::nullDevice());
            QElapsedTimer timer;
            timer.start();
            process.start(jobs[i].program, jobs[i].arguments);
            process.waitForFinished();
            times[i].push_back(timer.nsecsElapsed() / 1000.0);
            if (process.exitCode() != 0)
                std::fprintf(stderr, "%s failed\n", qPrintable(jobs[i].program));
        }
    }
    std::vector<double> medians;
    for (auto &list : times) {
        std::sort(list.begin(), list.end());
        medians.push_back(list[list.size() / 2]);
    }
    return medians;
}

// The instructions the job executes from its first to its last, the loader's included, as
// callgrind counts them; 0 when it cannot be run.
double instructions(const QString &valgrind, const Job &job)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(valgrind, QStringList {QStringLiteral("--tool=callgrind"),
                                         QStringLiteral("--callgrind-out-file=/dev/null"),
                                         job.program}
                                + job.arguments);
    process.waitForFinished(-1);
    static const QRegularExpression collected(QStringLiteral("Collected : (\\d+)"));
    const QRegularExpressionMatch match
        = collected.match(QString::fromLocal8Bit(process.readAllStandardError()));
    return match.hasMatch() ? match.captured(1).toDouble() : 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    FontImage font {};
    for (int i = 0; i < FontFileSize; ++i)
        font[i] = static_cast<std::uint8_t>(i * 37 + 11);
    QFile file(dir.filePath(QStringLiteral("font.pf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(fontFileBytes(font)) != FontFileSize)
        return 1;
    file.close();

    const QString cli = QStringLiteral(GLYPHWRIGHT_CLI);
    const std::vector<Job> jobs {
        {QStringLiteral(BARE_COREAPP), {}},
        {cli,
         {QStringLiteral("export"), file.fileName(), QStringLiteral("-o"),
          dir.filePath(QStringLiteral("font.asm"))}},
        {cli, {QStringLiteral("export"), file.fileName()}},
    };
    const std::vector<double> medians = medianMicroseconds(jobs);
    std::printf("glyphwright-cli, process start to exit (median of %d):\n", Rounds);
    std::printf("  bare QCoreApplication                    %8.0f us\n", medians[0]);
    std::printf("  export -o font.asm (atomic, synced)      %8.0f us  ratio %.2f\n", medians[1],
                medians[1] / medians[0]);
    std::printf("  export to standard output                %8.0f us  ratio %.2f\n", medians[2],
                medians[2] / medians[0]);

    const QString valgrind = QStandardPaths::findExecutable(QStringLiteral("valgrind"));
    if (valgrind.isEmpty()) {
        std::printf("valgrind is not installed: no instruction counts.\n");
        return 0;
    }
    std::vector<double> counts;
    for (const Job &job : jobs)
        counts.push_back(instructions(valgrind, job));
    if (counts[0] == 0)
        return 1;
    std::printf("glyphwright-cli, instructions from start to exit (callgrind):\n");
    std::printf("  bare QCoreApplication                    %10.0f\n", counts[0]);
    std::printf("  export -o font.asm (atomic, synced)      %10.0f  ratio %.3f\n", counts[1],
                counts[1] / counts[0]);
    std::printf("  export to standard output                %10.0f  ratio %.3f\n", counts[2],
                counts[2] / counts[0]);
    return 0;
}
