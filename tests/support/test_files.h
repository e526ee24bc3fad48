// Small file helpers shared by the tests, and a way to make writes fail as on a full disk.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace orba::test {

// The whole file, or empty when it cannot be read.
QByteArray readAll(const QString &path);
bool writeAll(const QString &path, const QByteArray &data);
// Every file below a folder, hidden ones included: relative path to contents.
QMap<QString, QByteArray> fileTree(const QString &folder);

#ifdef Q_OS_UNIX
// While it lives, writing beyond the given size fails for this process (root included, unlike
// folder permissions), as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
    bool active() const { return m_active; }

private:
    unsigned long m_saved = 0;
    void (*m_handler)(int) = nullptr;
    bool m_active = false;
};
#endif

} // namespace orba::test
