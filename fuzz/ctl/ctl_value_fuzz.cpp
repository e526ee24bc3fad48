// Arbitrary texts through orba-ctl's name lookup, value parser and command line: a value taken
// must be one the value can hold and must read back from its own label; one refused must say why.
// The first byte picks the value; the rest is the text (and, split at zero bytes, a command line).
#include "ctl_options.h"
#include "ctl_values.h"

#include <cstdint>
#include <cstdlib>

using namespace orba::ctl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static const std::vector<ValueRef> all = allValues();
    const ValueRef ref = all[data[0] % all.size()];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), int(size - 1));
    const QString text = QString::fromUtf8(bytes);

    if (const std::optional<ValueRef> found = findValue(text);
        found && valueName(*found).compare(text.trimmed(), Qt::CaseInsensitive) != 0)
        std::abort();

    const ParsedValue v = parseValue(ref, text);
    if (v.ok != v.error.isEmpty())
        std::abort();
    if (v.ok) {
        SETTINGS_MAP live;
        GLOBALS_MAP globals;
        applyValue(ref, v, live, globals);
        if (ref.kind == ValueRef::Setting &&
            (live.getRaw(ref.id) != v.raw || v.raw < live.getRawMin(ref.id) ||
             v.raw > live.getRawMax(ref.id)))
            std::abort();
        if (ref.kind == ValueRef::Global &&
            globals.get(ref.id) != (orba::globalType(ref.id) == SETTING_BOOL ? v.global != 0 : v.global))
            std::abort();
        const QString label = valueLabel(ref, live, globals);
        const ParsedValue back = parseValue(ref, label);
        if (!back.ok)
            std::abort();
        SETTINGS_MAP live2;
        GLOBALS_MAP globals2;
        applyValue(ref, back, live2, globals2);
        if (valueLabel(ref, live2, globals2) != label)
            std::abort();
    }

    QStringList args;
    for (const QByteArray &a : bytes.split('\0'))
        args << QString::fromUtf8(a);
    const Options o = parseOptions(args);
    if (o.error.isEmpty() && o.help.isEmpty() && !isCommand(o.command))
        std::abort();
    return 0;
}
