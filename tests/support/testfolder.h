#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A test's own folder, made anew for each test function: the test object derives from it
// (after QObject) and calls renewFolder() in init(), so that no function sees what another left.
class TemporaryFolder
{
public:
    // A new, empty folder; the one before is removed with all it holds. False when it cannot be
    // made.
    [[nodiscard]] bool renewFolder()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        return m_dir->isValid();
    }
    QString path() const { return m_dir->path(); }
    QString path(const QString &name) const { return m_dir->filePath(name); }

protected:
    std::unique_ptr<QTemporaryDir> m_dir;
};
