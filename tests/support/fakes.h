#pragma once

#include "platform/filedialogs.h"
#include "platform/launcher.h"
#include "platform/messages.h"
#include "platform/services.h"

#include <QList>
#include <QPair>
#include <QStringList>

// Answers file dialogs from a queue of prepared answers ("" cancels) and keeps every request.
class FakeFileDialogs final : public FileDialogs
{
public:
    QString ask(QWidget *, const FileDialogRequest &request) override
    {
        requests.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    QStringList answers;
    QList<FileDialogRequest> requests;
};

struct ShownMessage
{
    Messages::Icon icon;
    QString title;
    QString text;
};

class FakeMessages final : public Messages
{
public:
    void show(QWidget *, Icon icon, const QString &title, const QString &text) override
    {
        shown.append({icon, title, text});
    }
    QList<ShownMessage> shown;
};

// Records what would have been started; programs "on PATH" are the keys of `installed`.
class FakeLauncher final : public Launcher
{
public:
    bool openFile(const QString &path) override
    {
        opened.append(path);
        return true;
    }
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        started.append({program, arguments});
        return startSucceeds;
    }
    QString findProgram(const QString &name) override
    {
        return installed.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    }
    QStringList opened;
    QList<QPair<QString, QStringList>> started;
    QStringList installed;
    bool startSucceeds = true;
};

// One set of fakes, handed to a window as its services.
struct FakeServices
{
    FakeFileDialogs dialogs;
    FakeMessages messages;
    FakeLauncher launcher;
    Services services() { return {&dialogs, &messages, &launcher}; }
};
