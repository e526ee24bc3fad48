#include "common/atomic_file.h"

#include <QSaveFile>

namespace orba {

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
    if (f.write(data) != data.size()) {
        f.cancelWriting();
        f.commit();
        return false;
    }
    return commitSaveFile(f);
}

} // namespace orba
