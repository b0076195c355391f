#pragma once

#include <QString>

class Launcher;

// Finds and starts the system information tool; false when there is none or it would not start.
bool startSystemInformation(Launcher &launcher);

#ifdef Q_OS_WIN
// Reads a string value from the registry; a value of zero length counts as not found.
bool GetKeyValue(void *KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal);
#endif
