#pragma once

// What the unit tests share: glyphs, fonts and titles they compare against, raw files and
// special files on disk, child processes, and (for tests that link the widget libraries) the fake
// desktop services and the main window on them.

#include "support/childprocess.h"
#include "core/charbitmap.h"
#include "core/fontimage.h"
#include "support/testfiles.h"
#include "support/testfolder.h"

#include <QRandomGenerator>
#include <QString>

// "A" as the classic 8x8 ROM draws it: rows top to bottom, bit 7 the leftmost pixel.
inline constexpr CharBitMap CapitalA {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00};

// The caption of a window that holds no file.
inline const QString BaseTitle = QStringLiteral("8x8 ROM Glyphwright Editor");

// A font of random bytes, the same for the same seed, so that a failing row can be replayed.
inline FontImage randomFont(quint32 seed)
{
    QRandomGenerator random(seed);
    FontImage font {};
    for (std::uint8_t &byte : font)
        byte = static_cast<std::uint8_t>(random.bounded(256));
    return font;
}

#ifdef QT_GUI_LIB
#include <QColor>

// The background of the selected cell.
inline const QColor Green(0, 255, 0);
#endif

#ifdef QT_WIDGETS_LIB
#include "support/fakes.h"

#include <QTest>
#include <QWidget>

#include <memory>

// Keyboard focus needs an active window.
[[nodiscard]] inline bool showActive(QWidget *window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// A window (the main window, in practice) on a fresh set of fake services; the services are
// declared first by the caller so that they outlive the window.
template<typename Window>
void createOnFakes(std::unique_ptr<FakeServices> &fakes, std::unique_ptr<Window> &window)
{
    window.reset();
    fakes = std::make_unique<FakeServices>();
    window = std::make_unique<Window>(fakes->services());
}
#endif
