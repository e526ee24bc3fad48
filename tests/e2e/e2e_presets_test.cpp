// Preset transfers on a session against orba-sim run as a separate program with a state folder:
// a simulator stopped in the middle of a paste ends the paste with its message, and what was sent
// before is still there when the simulator starts again.
#include "loopback_peer.h"
#include "message_recorder.h"
#include "preset_samples.h"
#include "presets/dialogs/grab_push_progress.h"
#include "presets/preset_transfer.h"
#include "session/session.h"
#include "sim_process.h"
#include "wait.h"
#include "work_dir.h"

#include <gtest/gtest.h>

#include <memory>

using namespace orba;
using namespace orba::test;

namespace {

class PresetsEndToEnd : public WorkDirTest
{
protected:
    std::unique_ptr<Session> connect(const SimProcess &sim)
    {
        SessionOptions options;
        options.processorPort = sim.port();
        options.meterFirstPort = freeUdpPort();
        auto session = std::make_unique<Session>(options);
        session->setTarget({QString(), QStringLiteral("127.0.0.1"), 0});
        // The processor sends its whole slot list after the login, then the live values.
        auto live = std::make_shared<bool>(false);
        QObject::connect(session.get(), &Session::liveValuesComplete, session.get(), [live] { *live = true; });
        session->set_online(true);
        EXPECT_TRUE(waitProcessingEvents([&] { return *live; }, 10000));
        return session;
    }

    // Presets whose values differ from the factory bank's and from each other.
    static PresetClipboard presets(int count)
    {
        PresetClipboard clip;
        for (int i = 0; i < count; ++i) {
            auto set = std::make_shared<SETTINGS_MAP>();
            for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id))
                set->setIndex(id, uint32_t(set->getRawMin(id) + (i + int(id)) % 2), CHANGE_LOCAL);
            clip.push_back({usedHeader("Pasted " + std::to_string(i + 1)), set});
        }
        return clip;
    }

    MessageRecorder messages;
};

// Stops the simulator when the paste comes to its third preset.
class StopAtThird : public tcGrabPushProgress
{
public:
    explicit StopAtThird(SimProcess &sim) : m_sim(sim) {}
    void update(int i, int n, const QString &text) override
    {
        tcGrabPushProgress::update(i, n, text);
        if (i == 2)
            stopped = m_sim.stop();
    }
    int stopped = -1;

private:
    SimProcess &m_sim;
};

} // namespace

TEST_F(PresetsEndToEnd, ASimulatorStoppedDuringAPasteEndsItWithItsMessageAndKeepsWhatWasSent)
{
    const QString state = path("state");
    const PresetClipboard clip = presets(4);
    {
        SimProcess sim(state);
        ASSERT_TRUE(sim.start()) << sim.output().toStdString();
        std::unique_ptr<Session> session = connect(sim);
        ProgressWait wait;
        PresetTransfer transfer(*session, wait);
        StopAtThird progress(sim);
        const TransferResult r = transfer.pastePresets(40, clip, &progress);
        showTransferResult(nullptr, r);
        EXPECT_EQ(progress.stopped, 0) << "the simulator did not end cleanly";
        EXPECT_EQ(r.status, TransferResult::LinkLost);
        EXPECT_EQ(r.sent, 2);
        ASSERT_EQ(messages.only(), Box("Preset Transfer",
                                       "The link to the processor was lost while preset 43 was being sent."));
    }

    SimProcess again(state);
    ASSERT_TRUE(again.start()) << again.output().toStdString();
    std::unique_ptr<Session> session = connect(again);
    const PresetSlotList &list = session->presetSlots();
    EXPECT_EQ(list.get(40).nameText(), "Pasted 1");
    EXPECT_EQ(list.get(41).nameText(), "Pasted 2");
    EXPECT_EQ(list.get(43).inUse, 0);
    ProgressWait wait;
    PresetTransfer transfer(*session, wait);
    for (int i = 0; i < 2; ++i) {
        SETTINGS_MAP back;
        ASSERT_TRUE(transfer.grabPreset(40 + i, &back).ok());
        EXPECT_EQ(differingParameters(back, *clip[size_t(i)].values), 0) << "slot " << 41 + i;
        EXPECT_GT(differingParameters(back, SETTINGS_MAP()), 0);
    }
}
