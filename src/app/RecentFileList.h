#pragma once

#include <QStringList>

class QSettings;

// The most recently used database files, newest first, kept in the settings
// under "Recent File List" as File1, File2, ...
class CRecentFileList {
public:
    explicit CRecentFileList(int size);

    void ReadList(QSettings& settings);
    void WriteList(QSettings& settings) const;

    // Puts a path at the top; an entry already listed moves there.
    void Add(const QString& path);
    void Remove(int index);

    const QStringList& Paths() const { return m_paths; }
    int GetSize() const { return m_size; }

private:
    int m_size;
    QStringList m_paths;
};
