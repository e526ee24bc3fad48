#include "common/atomic_file.h"

#include <QSaveFile>

namespace orba {

bool writeToSaveFile(QSaveFile &file, const QByteArray &data)
{
    if (file.write(data) == data.size())
        return true;
    file.cancelWriting();
    return false;
}

bool commitSaveFile(QSaveFile &file)
{
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        file.commit(); // only discards the temporary file after cancelWriting
        return false;
    }
    return file.commit();
}

bool writeFileAtomically(const QString &path, const QByteArray &data)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    writeToSaveFile(f, data);
    return commitSaveFile(f);
}

} // namespace orba
