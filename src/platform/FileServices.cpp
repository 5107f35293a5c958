#include "platform/FileServices.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

unsigned char FoldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool NameLess(const std::string& a, const std::string& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char ca = FoldCase(static_cast<unsigned char>(a[i]));
        const unsigned char cb = FoldCase(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb;
        }
    }
    if (a.size() != b.size()) {
        return a.size() < b.size();
    }
    return a < b;
}

} // namespace

bool ReadWholeFile(const std::string& path, std::string& contents) {
    contents.clear();
    // Non-blocking open: a FIFO named like a header must not hang a scan.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (st.st_size > 0) {
        contents.reserve(static_cast<size_t>(st.st_size));
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(fd);
            contents.clear();
            return false;
        }
        if (got == 0) {
            break;
        }
        contents.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return true;
}

bool CTextFileReader::Open(const std::string& path) {
    Close();
    m_open = ReadWholeFile(path, m_data);
    m_lines = CLineSource(m_data);
    return m_open;
}

bool CTextFileReader::ReadLine(std::string& line) {
    std::string_view view;
    if (!m_open || !m_lines.ReadLine(view)) {
        return false;
    }
    line.assign(view);
    return true;
}

void CTextFileReader::Close() {
    m_data.clear();
    m_lines = CLineSource(std::string_view());
    m_open = false;
}

std::string WithTrailingSlash(const std::string& directory) {
    if (!directory.empty() && directory.back() == '/') {
        return directory;
    }
    return directory + "/";
}

bool ListDirectory(const std::string& directory, std::vector<DirEntry>& entries) {
    entries.clear();
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) {
        return false;
    }
    const std::string prefix = WithTrailingSlash(directory);
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) {
            continue;
        }
        DirEntry item;
        item.name = name;
        item.path = prefix + item.name;
        bool isDir = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            // Links are followed: a link to a directory is a directory.
            struct stat st {};
            isDir = ::stat(item.path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        item.isDirectory = isDir;
        entries.push_back(std::move(item));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const DirEntry& a, const DirEntry& b) { return NameLess(a.name, b.name); });
    return true;
}

bool CWalkGuard::Enter(const std::string& directory) {
    struct stat st {};
    if (::stat(directory.c_str(), &st) != 0) {
        return false;
    }
    return m_seen
        .emplace(static_cast<unsigned long long>(st.st_dev),
                 static_cast<unsigned long long>(st.st_ino))
        .second;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
    std::string contents;
    if (!ReadWholeFile(from, contents)) {
        return false;
    }
    std::FILE* out = std::fopen(to.c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(contents.data(), 1, contents.size(), out) == contents.size();
    const bool closed = std::fclose(out) == 0;
    return written && closed;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
