#include "admin/firmware_header.h"

#include <QFile>

namespace orba {

namespace {

// The line with every occurrence of the key removed; the spaces around the value stay.
QString without(QByteArray line, const QByteArray &key)
{
    for (int at; (at = line.indexOf(key)) >= 0;)
        line.remove(at, key.size());
    return QString::fromLatin1(line);
}

} // namespace

bool FirmwareHeaderReader::addLine(QByteArray line)
{
    if (m_header.complete)
        return true;
    line.replace('\r', QByteArray()).replace('\n', QByteArray());
    // The first key found decides, in this order.
    if (line.contains("BUILD:"))
        m_header.build = without(line, "BUILD:");
    else if (line.contains("DSPVER:"))
        m_header.dsp = without(line, "DSPVER:");
    else if (line.contains("MCSVER:"))
        m_header.fpga = without(line, "MCSVER:");
    else if (line.contains("APVER:"))
        m_header.ap = without(line, "APVER:");
    else if (line.contains("TALMEN ") && line.contains(" UPGRADE"))
        m_header.signature = QString::fromLatin1(line);
    else if (line == FIRMWARE_END_LINE)
        m_header.complete = true;
    return m_header.complete;
}

FirmwareHeader readFirmwareHeader(const QByteArray &bytes)
{
    FirmwareHeaderReader reader;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        end = end < 0 ? bytes.size() : end + 1;
        if (reader.addLine(bytes.mid(pos, end - pos)))
            break;
        pos = end;
    }
    return reader.header();
}

FirmwareCheck checkFirmwareHeader(const FirmwareHeader &header)
{
    if (!header.complete)
        return FirmwareCheck::NoEndHeader;
    if (header.signature != QLatin1String(FIRMWARE_SIGNATURE))
        return FirmwareCheck::WrongSignature;
    return FirmwareCheck::Ok;
}

FirmwareFileInfo readFirmwareFile(const QString &path)
{
    FirmwareFileInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        info.check = FirmwareCheck::OpenFailed;
        return info;
    }
    FirmwareHeaderReader reader;
    while (!file.atEnd()) {
        if (reader.addLine(file.readLine()))
            break;
    }
    info.header = reader.header();
    info.check = checkFirmwareHeader(info.header);
    return info;
}

QString firmwareRefusal(const FirmwareFileInfo &info)
{
    switch (info.check) {
    case FirmwareCheck::Ok:
        return QString();
    case FirmwareCheck::OpenFailed:
        return QStringLiteral("File open failed");
    case FirmwareCheck::NoEndHeader:
        return QStringLiteral("This does not appear to be an ORBA file.");
    case FirmwareCheck::WrongSignature:
        break;
    }
    return QStringLiteral("This does not appear to be an ORBA file!\n") +
           QStringLiteral("\nSignature wanted: ") + QLatin1String(FIRMWARE_SIGNATURE) +
           QStringLiteral("\nSignature found: ") + info.header.signature;
}

QString firmwareQuestion(const FirmwareHeader &h)
{
    return h.signature + QStringLiteral("\nAP Version: ") + h.ap + QStringLiteral("\nDSP Version: ") + h.dsp +
           QStringLiteral("\nFPGA Version: ") + h.fpga + QStringLiteral("\nBuild Date: ") + h.build;
}

} // namespace orba
