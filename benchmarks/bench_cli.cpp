// Times glyphwright-cli export as whole processes against a program that only creates a
// QCoreApplication, in the same run.
#include "core/fontimage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
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
    const std::vector<double> medians = medianMicroseconds({
        {QStringLiteral(BARE_COREAPP), {}},
        {cli,
         {QStringLiteral("export"), file.fileName(), QStringLiteral("-o"),
          dir.filePath(QStringLiteral("font.asm"))}},
        {cli, {QStringLiteral("export"), file.fileName()}},
    });
    std::printf("glyphwright-cli, process start to exit (median of %d):\n", Rounds);
    std::printf("  bare QCoreApplication                    %8.0f us\n", medians[0]);
    std::printf("  export -o font.asm (atomic, synced)      %8.0f us  ratio %.2f\n", medians[1],
                medians[1] / medians[0]);
    std::printf("  export to standard output                %8.0f us  ratio %.2f\n", medians[2],
                medians[2] / medians[0]);
    return 0;
}
