// Arbitrary text as the simulator's state file: read into a bank and a clock, written again, and
// read back to the same text.
#include "sim/sim_state.h"

#include <cstdint>
#include <cstdlib>

using namespace orba::sim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static SimBank bank;
    static SimBank again;
    SimClock clock, clock2;
    if (!decodeState(QByteArrayView(data, qsizetype(size)), bank, clock))
        return 0;
    const QByteArray text = encodeState(bank, clock);
    if (!decodeState(text, again, clock2) || encodeState(again, clock2) != text)
        std::abort();
    return 0;
}
