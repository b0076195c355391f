#pragma once

#include <QIcon>

// The program icon, shared by the main window and the About box.
QIcon appIcon();
