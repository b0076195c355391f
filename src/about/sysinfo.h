#pragma once

class Launcher;

// Finds and starts the system information tool; false when there is none or it would not start.
bool startSystemInformation(Launcher &launcher);
