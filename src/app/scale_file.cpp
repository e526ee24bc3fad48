#include "app/scale_file.h"

#include "common/ini_store.h"
#include "presets/preset_format.h"
#include "skin/bench.h"

#include <QDir>
#include <QStringList>

namespace orba {

ScaleFactors readScaleFile(const QString &path, QString &problem)
{
    const IniStore file(path, IniStore::ProfileFile);
    ScaleFactors factors;
    QStringList refused;
    auto read = [&](const QString &key, float &factor) {
        const QString text = file.readString(QStringLiteral("scale"), key, QStringLiteral("1.0"));
        // A text that is no number reads as 0, which is out of range as well.
        const double value = leadingDouble(text.toLatin1());
        if (tcBench::usableScale(value))
            factor = float(value);
        else
            refused << QStringLiteral("%1 = \"%2\"").arg(key, text);
    };
    read(QStringLiteral("X"), factors.x);
    read(QStringLiteral("Y"), factors.y);
    problem.clear();
    if (!refused.isEmpty())
        problem = QStringLiteral("The scale factor %1 in \"%2\" is not a number from %3 to %4; 1.0 is used "
                                 "instead.")
                      .arg(refused.join(QStringLiteral(" and ")), QDir::toNativeSeparators(path))
                      .arg(tcBench::kMinScale)
                      .arg(tcBench::kMaxScale);
    return factors;
}

} // namespace orba
