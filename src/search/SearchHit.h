#pragma once

#include <string>
#include <utility>

// One place where a searched class or member function is used: the class
// (or function qualifier), the function name ("-" for header hits) and the
// full path of the file. Set once when the hit is made.
class CSearchHit {
public:
    CSearchHit(std::string className, std::string name, std::string file)
        : m_strClass(std::move(className)), m_strName(std::move(name)), m_strFile(std::move(file)) {
    }

    const std::string& GetClass() const { return m_strClass; }
    const std::string& GetName() const { return m_strName; }
    const std::string& GetFile() const { return m_strFile; }

    bool operator==(const CSearchHit& other) const = default;

private:
    std::string m_strClass;
    std::string m_strName;
    std::string m_strFile;
};
