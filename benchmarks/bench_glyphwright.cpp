// Times start-up against a bare window and the editor's heaviest operations, offscreen.
#include "app/frmmain.h"
#include "editor/detailspanel.h"
#include "editor/fontdocument.h"
#include "support/fakes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <memory>
#include <utility>
#include <vector>

namespace {
constexpr int Rounds = 41;

double medianMicroseconds(const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1000.0);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The same menu bar as the editor's, on an empty window.
void buildBareWindow(QMainWindow &window)
{
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    for (const char *item : {"&New", "&Open", "-", "&Save", "&Export", "-", "E&xit"}) {
        if (item[0] == '-')
            file->addSeparator();
        else
            file->addAction(QLatin1String(item));
    }
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("&About"));
    window.setCentralWidget(new QWidget(&window));
}

void showBareWindow()
{
    QMainWindow window;
    buildBareWindow(window);
    window.show();
    QApplication::processEvents();
}

void showEditorWindow()
{
    FakeServices fakes;
    frmMain window(fakes.services());
    window.show();
    QApplication::processEvents();
}
} // namespace

// Wall time of whole program starts, from exec to the window shown. The two kinds alternate,
// so that whatever else the machine is doing falls on both alike.
std::pair<double, double> medianProcessMicroseconds(const QString &first, const QString &second)
{
    std::vector<double> times[2];
    for (int i = 0; i < Rounds; ++i) {
        for (int which = 0; which < 2; ++which) {
            QElapsedTimer timer;
            timer.start();
            QProcess process;
            process.start(QCoreApplication::applicationFilePath(), {which == 0 ? first : second});
            process.waitForFinished();
            times[which].push_back(timer.nsecsElapsed() / 1000.0);
        }
    }
    for (auto &list : times)
        std::sort(list.begin(), list.end());
    return {times[0][Rounds / 2], times[1][Rounds / 2]};
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    // A child measures start-up only: it leaves as soon as its window is shown.
    if (mode == QLatin1String("--bare") || mode == QLatin1String("--editor")) {
        FakeServices fakes;
        QMainWindow bare;
        std::unique_ptr<frmMain> editor;
        if (mode == QLatin1String("--bare"))
            buildBareWindow(bare);
        else
            editor = std::make_unique<frmMain>(fakes.services());
        QWidget *window = editor ? static_cast<QWidget *>(editor.get()) : &bare;
        window->show();
        QApplication::processEvents();
        std::_Exit(0);
    }

    const auto [bareProcess, editorProcess]
        = medianProcessMicroseconds(QStringLiteral("--bare"), QStringLiteral("--editor"));
    std::printf("program start, process start to window shown (median of %d):\n", Rounds);
    std::printf("  bare QMainWindow with the same menu bar  %8.0f us\n", bareProcess);
    std::printf("  frmMain                                  %8.0f us\n", editorProcess);
    std::printf("  ratio                                    %8.2f\n", editorProcess / bareProcess);

    // Warm up shared one-time costs (fonts, style) before measuring either window.
    showBareWindow();
    showEditorWindow();
    const double bare = medianMicroseconds(showBareWindow);
    const double editor = medianMicroseconds(showEditorWindow);
    std::printf("window alone, create + lay out + show in a warm process (median of %d):\n",
                Rounds);
    std::printf("  bare QMainWindow with the same menu bar  %8.0f us\n", bare);
    std::printf("  frmMain                                  %8.0f us\n", editor);
    std::printf("  ratio                                    %8.2f\n", editor / bare);

    FakeServices fakes;
    frmMain window(fakes.services());
    window.show();
    QApplication::processEvents();
    FontDocument *document = window.document();
    // A full history: a session's worth of every kind of step.
    const auto fillHistory = [&](int steps) {
        for (int i = 0; i < steps; ++i) {
            switch (i % 10) {
            case 0:
                document->newFont();
                break;
            case 1:
                document->invertEditor();
                break;
            case 2:
                document->apply();
                break;
            default:
                document->togglePixel(i % 64);
            }
        }
    };
    fillHistory(FontDocument::HistoryLimit);
    QApplication::processEvents();
    // Each step and its redraw, as the user waits for it: the window is painted before the next.
    const auto frame = [&](const std::function<void()> &step) {
        return medianMicroseconds([&] {
            step();
            QApplication::processEvents();
        });
    };
    std::printf("one step and its redraw, history full at %d steps (median of %d):\n",
                document->undoStack()->count(), Rounds);
    std::printf("  toggle a pixel                           %8.0f us\n",
                frame([&] { document->togglePixel(27); }));
    std::printf("  a stroke over 8 squares                  %8.0f us\n", frame([&] {
                    document->beginStroke(8);
                    for (int square = 9; square < 16; ++square)
                        document->strokeOver(square);
                    document->endStroke();
                }));
    std::printf("  Invert                                   %8.0f us\n",
                frame([&] { document->invertEditor(); }));
    std::printf("  Apply                                    %8.0f us\n", frame([&] {
                    document->invertEditor();
                    document->apply();
                }));
    std::printf("  New (all 256 cells redrawn)              %8.0f us\n",
                frame([&] { document->newFont(); }));
    std::printf("  Undo, then Redo, of New                  %8.0f us\n", frame([&] {
                    document->newFont();
                    document->undo();
                    QApplication::processEvents();
                    document->redo();
                }));
    std::printf("  one 60 Hz frame                          %8.0f us\n", 1e6 / 60);

#ifdef __GLIBC__
    // What the history keeps: heap bytes per step, the stack cleared and filled again.
    const auto heapBytes = [] {
        return static_cast<double>(mallinfo2().uordblks);
    };
    for (const auto &[name, step] :
         std::initializer_list<std::pair<const char *, std::function<void()>>> {
             {"toggle a pixel",
              [&] {
                  document->togglePixel(5);
              }},
             {"Apply",
              [&] {
                  document->invertEditor();
                  document->apply();
              }},
             {"New", [&] {
                  document->newFont();
              }}}) {
        document->reset();
        constexpr int Steps = 2000;
        const double before = heapBytes();
        for (int i = 0; i < Steps; ++i)
            step();
        const int steps = document->undoStack()->count();
        std::printf("history memory, %-26s %8.0f bytes a step\n", name,
                    (heapBytes() - before) / steps);
    }
#endif
    return 0;
}
