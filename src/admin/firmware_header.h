// The text header of a firmware image file (".tbn"): lines up to "ENDHEADER" naming the build date,
// the DSP, FPGA and AP versions and the signature. The reader takes one line at a time, so the file
// is read only as far as its header; the checks give the texts the user sees.
#pragma once

#include <QByteArray>
#include <QString>

namespace orba {

constexpr char FIRMWARE_SIGNATURE[] = "TALMEN ORBA UPGRADE";
constexpr char FIRMWARE_END_LINE[] = "ENDHEADER";

struct FirmwareHeader
{
    QString build = QStringLiteral("???");
    QString dsp = QStringLiteral("???");
    QString fpga = QStringLiteral("???");
    QString ap = QStringLiteral("???");
    QString signature = QStringLiteral("???");
    bool complete = false; // "ENDHEADER" was read
};

class FirmwareHeaderReader
{
public:
    // One line of the file, with or without its line end; true once the header is complete
    // (later lines are then ignored).
    bool addLine(QByteArray line);
    const FirmwareHeader &header() const { return m_header; }

private:
    FirmwareHeader m_header;
};

// The header of a whole buffer, read line by line as a file would be.
FirmwareHeader readFirmwareHeader(const QByteArray &bytes);

enum class FirmwareCheck { Ok, OpenFailed, NoEndHeader, WrongSignature };

struct FirmwareFileInfo
{
    FirmwareCheck check = FirmwareCheck::OpenFailed;
    FirmwareHeader header;
};

// Reads the header of an image file, no further than its "ENDHEADER" line.
FirmwareFileInfo readFirmwareFile(const QString &path);
FirmwareCheck checkFirmwareHeader(const FirmwareHeader &header);

// The text of the "Error" box for a refused file (empty for Ok).
QString firmwareRefusal(const FirmwareFileInfo &info);
// The text of the "Verify Download" question.
QString firmwareQuestion(const FirmwareHeader &header);

} // namespace orba
