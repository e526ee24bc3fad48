// Byte formats of the preset files, as pure functions on buffers: the current enciphered format
// (header line, RC4 stream of a 92-byte header block and 6-byte parameter records) and the old
// text format that is still read. The file functions in preset_file.h are thin shells around these.
#pragma once

#include "tables/preset_header.h"
#include "tables/settings_map.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace orba {

// Result codes of the preset readers.
enum PresetResult : int {
    PRESET_OK = 0,
    PRESET_INVALID_TYPE = 1, // the first line is neither preset header
    PRESET_CANNOT_OPEN = 2,  // the file is missing or unreadable
};

constexpr char PRESET_MAGIC[] = "TALMEN ORBA PRESET";
constexpr char OLD_PRESET_MAGIC[] = "ORBA PRESET FILE";
constexpr int PRESET_LINE_LIMIT = 1023; // characters of one line, as read with a 1024-byte buffer
constexpr int PRESET_BLOCK_BYTES = 92;  // time stamp, two words, two text fields
constexpr int PRESET_RECORD_BYTES = 6;  // 16-bit id, 32-bit value

// One line as both readers take it: at most 1023 characters, or through the first line feed. The
// text ends at the first carriage return, line feed or NUL; field 1 runs to the first ':', field 2
// to the next, field 3 is the rest.
struct PresetLine
{
    QByteArray field1;
    QByteArray field2;
    QByteArray field3;
    qsizetype next = 0; // where the following line starts
};
PresetLine readPresetLine(QByteArrayView data, qsizetype pos);

// Header of the current format: the name (cut to 40 characters) and the reserved block.
int decodePresetHeader(QByteArrayView data, PresetHeader &header);
// Header of the old text format: the name only.
int decodeOldPresetHeader(QByteArrayView data, PresetHeader &header);
// Zeroes the header, then tries the current format, then the old one.
int decodePresetHeaderAny(QByteArrayView data, PresetHeader &header);

// Records into the table, each set with change source 2. A short last record, id 0, an unknown id
// and a float that is not a number are skipped.
int decodePresetRecords(QByteArrayView data, SETTINGS_MAP &table);
int decodeOldPresetRecords(QByteArrayView data, SETTINGS_MAP &table);

// The whole load of a file's bytes: header, then records of whichever format the file is in; on
// success the header is marked in use. The checksums are computed from the table in every case.
int decodePreset(QByteArrayView data, PresetHeader &header, SETTINGS_MAP &table);

// The current format from the header's name and reserved text fields and the table's values.
QByteArray encodePreset(const PresetHeader &header, const SETTINGS_MAP &table, uint32_t timeStamp);

// Fills presetChecksum/presetCount and systemChecksum/systemCount from the table.
void computePresetChecksums(const SETTINGS_MAP &table, PresetHeader &header);
// 0 "Success", 1 "Invalid File Type", 2 "Cannot open the file", anything else "Unknown Error".
const char *presetResultText(int code);
// Same name (up to 40 characters), same four checksum words and four counts, same use and lock.
bool samePreset(const PresetHeader &a, const PresetHeader &b);

// Leading decimal numbers of a text, as C's atoi and atof read them but independent of the locale;
// an integer beyond 32 bits saturates, a text that is no number gives 0.
int32_t leadingInt32(QByteArrayView text);
double leadingDouble(QByteArrayView text);

} // namespace orba
