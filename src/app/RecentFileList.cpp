#include "app/RecentFileList.h"

#include <QSettings>

namespace {
const QString kSection = QStringLiteral("Recent File List");
}

CRecentFileList::CRecentFileList(int size) : m_size(size) {}

void CRecentFileList::ReadList(QSettings& settings) {
    m_paths.clear();
    settings.beginGroup(kSection);
    for (int i = 1; i <= m_size; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_paths.contains(path)) {
            m_paths.append(path);
        }
    }
    settings.endGroup();
}

void CRecentFileList::WriteList(QSettings& settings) const {
    settings.beginGroup(kSection);
    settings.remove(QString());
    for (int i = 0; i < m_paths.size(); ++i) {
        settings.setValue(QStringLiteral("File%1").arg(i + 1), m_paths[i]);
    }
    settings.endGroup();
}

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    m_paths.removeAll(path);
    m_paths.prepend(path);
    while (m_paths.size() > m_size) {
        m_paths.removeLast();
    }
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_paths.size()) {
        m_paths.removeAt(index);
    }
}
