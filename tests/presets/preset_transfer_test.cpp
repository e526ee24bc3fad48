// Preset transfers and slot rules on a real Session against a loopback stand-in for the processor.
#include "common/ini_store.h"
#include "link/frames.h"
#include "loopback_peer.h"
#include "message_recorder.h"
#include "preset_helpers.h"
#include "presets/preset_file.h"
#include "presets/preset_transfer.h"
#include "session/session.h"
#include "tables/globals_map.h"
#include "tables/settings_table.h"
#include "wait.h"
#include "work_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace orba;
using namespace orba::test;

namespace {

struct ProgressStep
{
    int percent;
    QString text;
    bool operator==(const ProgressStep &o) const { return percent == o.percent && text == o.text; }
};

std::ostream &operator<<(std::ostream &out, const ProgressStep &s)
{
    return out << s.percent << "% " << s.text.toStdString();
}

class RecordedProgress : public TransferProgress
{
public:
    void update(int i, int n, const QString &text) override
    {
        steps.push_back({progressPercent(i, n), text});
    }
    std::vector<ProgressStep> steps;
};

class PresetTransferTest : public WorkDirTest
{
protected:
    enum class Answer { Echo, Silent };

    void SetUp() override
    {
        WorkDirTest::SetUp();
        changeEveryParameter(processorSet);
        peer.onFrame([this](const Frame &f) { answer(f); });
        SessionOptions options{peer.port(), freeUdpPort(), LinkLimits{200, 60000, 60000}};
        options.forceConnect = true;
        session = std::make_unique<Session>(options);
        session->setTarget({QString(), QStringLiteral("127.0.0.1"), 0});
        session->set_online(true);
        ASSERT_TRUE(waitProcessingEvents([&] { return session->isOnline(); }));
        transfer = std::make_unique<PresetTransfer>(*session, wait);
    }
    void TearDown() override
    {
        transfer.reset();
        session.reset();
        WorkDirTest::TearDown();
    }

    // On the peer's thread: headers come back as stored, a grab gets processorSet and the header.
    void answer(const Frame &f)
    {
        const uint8_t type = f[4];
        if (mode == Answer::Silent)
            return;
        if (type == MSG_PRESET_HEADERS) {
            peer.send(f);
        } else if (type == MSG_GRAB_PRESET) {
            uint8_t slot = 0;
            if (!parseGrabPreset(f.data(), f.size(), slot))
                return;
            // The header first: the grab ends with the values' last block, and the copy takes the
            // slot's header as it then stands.
            uint8_t frame[PRESET_HEADERS_LENGTH];
            const PresetHeader h = usedHeader("From the processor");
            peer.send(frame, buildPresetHeaders(frame, &slot, &h, 1));
            packWholeSet(
                slot, processorSet,
                [](void *self, uint8_t *frame, size_t length) {
                    static_cast<PresetTransferTest *>(self)->peer.send(frame, length);
                },
                this);
        }
    }

    // Slots of the frames of a type (the values' targets, the headers' first entries).
    std::vector<int> slotsOf(uint8_t type) const
    {
        std::vector<int> out;
        for (const Frame &f : peer.framesOfType(type)) {
            if (type == MSG_VALUES) {
                ValuesMsg msg;
                if (parseValues(f.data(), f.size(), msg) && msg.block == 1)
                    out.push_back(msg.target);
            } else if (type == MSG_PRESET_HEADERS) {
                PresetHeadersMsg msg;
                if (parsePresetHeaders(f.data(), f.size(), msg) && msg.count > 0)
                    out.push_back(presetEntrySlot(msg.entries));
            }
        }
        return out;
    }

    static PresetClipboard clipboard(std::initializer_list<const char *> names)
    {
        PresetClipboard clip;
        for (const char *name : names) {
            auto set = std::make_shared<SETTINGS_MAP>();
            changeEveryParameter(*set, true);
            clip.push_back({usedHeader(name), set});
        }
        return clip;
    }

public:
    std::atomic<Answer> mode{Answer::Echo};

protected:
    LoopbackPeer peer;
    SETTINGS_MAP processorSet;
    std::unique_ptr<Session> session;
    EventLoopWait wait;
    std::unique_ptr<PresetTransfer> transfer;
    MessageRecorder messages;
};

} // namespace

TEST_F(PresetTransferTest, PasteOfThreePresetsAtSlot78SendsTwoWithProgressZeroAnd33)
{
    RecordedProgress progress;
    const TransferResult r = transfer->pastePresets(78, clipboard({"First", "Second", "Third"}), &progress);
    ASSERT_TRUE(r.ok()) << r.text.toStdString();
    EXPECT_EQ(r.sent, 2);
    EXPECT_EQ(progress.steps, (std::vector<ProgressStep>{{0, "First"}, {33, "Second"}}));
    ASSERT_TRUE(peer.waitFrames(peer.frames().size()));
    EXPECT_EQ(slotsOf(MSG_VALUES), (std::vector<int>{78, 79}));
    EXPECT_EQ(slotsOf(MSG_PRESET_HEADERS), (std::vector<int>{78, 79}));
    // Each push waited for its header: the slot list holds both names now.
    EXPECT_EQ(session->presetSlots().get(78).nameText(), "First");
    EXPECT_EQ(session->presetSlots().get(79).nameText(), "Second");
}

TEST_F(PresetTransferTest, PasteOverALockedSlotIsRefusedWholeAndSendsNothing)
{
    session->presetSlots().set(76, usedHeader("Mine", PRESET_LOCKED));
    const size_t before = peer.frames().size();
    RecordedProgress progress;
    const TransferResult r = transfer->pastePresets(74, clipboard({"A", "B", "C"}), &progress);
    EXPECT_EQ(r.status, TransferResult::Refused);
    EXPECT_EQ(r.title, "Preset Paste");
    EXPECT_EQ(r.text, "One or more of the destination presets is locked.");
    EXPECT_EQ(r.sent, 0);
    EXPECT_TRUE(progress.steps.empty());
    // A slot past the last destination does not count; a locked one that is not in use neither.
    session->presetSlots().set(77, usedHeader("After", PRESET_LOCKED));
    PresetHeader unused = usedHeader("Gone", PRESET_LOCKED);
    unused.inUse = 0;
    session->presetSlots().set(76, unused);
    EXPECT_TRUE(transfer->pastePresets(74, clipboard({"A", "B", "C"}), nullptr).ok());
    EXPECT_EQ(slotsOf(MSG_PRESET_HEADERS), (std::vector<int>{74, 75, 76}));
    EXPECT_GT(peer.frames().size(), before);
}

TEST_F(PresetTransferTest, TransfersThatAreNeverAnsweredEndAtOurTimeOutNamingTheSlot)
{
    mode = Answer::Silent;
    transfer->setTimeoutMs(300);
    SETTINGS_MAP target;
    TransferResult r = transfer->grabPreset(4, &target);
    EXPECT_EQ(r.status, TransferResult::TimedOut);
    EXPECT_EQ(r.title, "Preset Transfer");
    EXPECT_TRUE(r.text.contains("preset 5")) << r.text.toStdString();
    EXPECT_TRUE(r.text.contains("0.3 s")) << r.text.toStdString();
    // The target keeps its values, the record is free and the link stays.
    EXPECT_EQ(differingParameters(target, SETTINGS_MAP()), 0);
    EXPECT_FALSE(session->grab().pending());
    EXPECT_TRUE(session->isOnline());

    r = transfer->pushPreset(40, processorSet, usedHeader("Quiet"));
    EXPECT_EQ(r.status, TransferResult::TimedOut);
    EXPECT_TRUE(r.text.contains("preset 41")) << r.text.toStdString();
    EXPECT_EQ(session->headerWait().slot(), -1);
}

TEST_F(PresetTransferTest, OfflineTransfersSendNothingAndReturnAtOnce)
{
    session->set_online(false);
    SETTINGS_MAP target;
    const size_t before = peer.frames().size();
    EXPECT_EQ(transfer->grabPreset(1, &target).status, TransferResult::Offline);
    EXPECT_EQ(transfer->pushPreset(1, target, usedHeader("x")).status, TransferResult::Offline);
    EXPECT_EQ(transfer->pastePresets(1, clipboard({"x"}), nullptr).status, TransferResult::Offline);
    EXPECT_EQ(peer.frames().size(), before);
}

TEST_F(PresetTransferTest, CopyGrabsTheSlotsInUseInSelectionOrder)
{
    session->presetSlots().set(7, usedHeader("Seven"));
    session->presetSlots().set(2, usedHeader("Two"));
    PresetClipboard clip;
    RecordedProgress progress;
    const TransferResult r = transfer->copySlots({7, 5, 2}, clip, &progress);
    ASSERT_TRUE(r.ok()) << r.text.toStdString();
    ASSERT_EQ(clip.size(), 2u);
    EXPECT_EQ(progress.steps, (std::vector<ProgressStep>{{0, "Seven"}, {66, "Two"}}));
    EXPECT_EQ(differingParameters(*clip[0].values, processorSet), 0);
    EXPECT_EQ(clip[0].header.nameText(), "From the processor"); // the header the grab brought
    ASSERT_EQ(peer.framesOfType(MSG_GRAB_PRESET).size(), 2u);
    EXPECT_TRUE(slotsOf(MSG_VALUES).empty()); // a grab sends no values
    EXPECT_FALSE(session->grab().pending());
}

TEST_F(PresetTransferTest, SaveIntoALockedSlotOrUnderABadNameIsRefusedAndSendsNothing)
{
    session->presetSlots().set(9, usedHeader("Kept", PRESET_LOCKED));
    const size_t before = peer.frames().size();
    TransferResult r = transfer->saveToSlot(9, "New");
    EXPECT_EQ(r.status, TransferResult::Refused);
    EXPECT_EQ(r.title, "Save preset");
    EXPECT_EQ(r.text, "The destination preset is locked.");
    r = transfer->saveToSlot(3, "AC/DC"); // the save name rules, as NameRules checks them
    EXPECT_EQ(r.text, "There are invalid characters in the name.");
    EXPECT_EQ(peer.frames().size(), before);

    ASSERT_TRUE(transfer->saveToSlot(3, "Loud!").ok());
    EXPECT_EQ(session->presetSlots().get(3).nameText(), "Loud!");
    EXPECT_EQ(session->globals().get(G_ACT_PRST), 3);
}

TEST_F(PresetTransferTest, UnlockingAFactoryLockedSlotNeedsTheTechnicianSetting)
{
    session->presetSlots().set(0, usedHeader("Factory Default", PRESET_FACTORY_LOCKED));
    session->presetSlots().set(1, usedHeader("Mine", PRESET_LOCKED));
    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    ASSERT_FALSE(technicianMode(settings));

    LockPlan plan = transfer->unlockSlots({0, 1}, technicianMode(settings));
    EXPECT_EQ(plan.change, std::vector<int>{1});
    ASSERT_EQ(messages.only(), Box("Preset Lock Error", "Presets 1 \"Factory Default\" is factory locked."));
    EXPECT_TRUE(planFactoryLock({1}, technicianMode(settings)).change.empty());
    // Locking a factory-locked slot is refused even for the technician.
    EXPECT_EQ(planLock(session->presetSlots(), {0, 1}).change, std::vector<int>{1});

    setTechnicianMode(settings, true);
    IniStore reread(path("KELQT.ini"), IniStore::XmlFile);
    EXPECT_EQ(reread.readInt("FACTORY", "TECH", 0), 1);
    messages.clear();
    plan = transfer->unlockSlots({0, 1}, technicianMode(reread));
    EXPECT_EQ(plan.change, (std::vector<int>{0, 1}));
    EXPECT_TRUE(messages.empty());
    ASSERT_TRUE(peer.waitFrames(1));
    ASSERT_TRUE(waitUntil([&] { return peer.framesOfType(MSG_PRESET_LOCK).size() == 3; }));
    EXPECT_EQ(planFactoryLock({1}, true).change, std::vector<int>{1});
}

TEST_F(PresetTransferTest, DeleteOfALockedSlotIsRefusedWholeElseAskedFirst)
{
    session->presetSlots().set(5, usedHeader("Locked", PRESET_LOCKED));
    session->presetSlots().set(6, usedHeader("Free"));
    TransferResult r = transfer->deleteSlots({6, 5});
    EXPECT_EQ(r.title, "Preset Delete");
    EXPECT_EQ(r.text, "One or more of the selected presets is locked.");
    EXPECT_TRUE(messages.empty());

    messages.answer(MsgNo);
    EXPECT_EQ(transfer->deleteSlots({6}).status, TransferResult::Cancelled);
    EXPECT_EQ(messages.last().text, "Are you sure you want to delete the selected presets?");
    messages.answer(MsgYes);
    EXPECT_TRUE(transfer->deleteSlots({6}).ok());
    ASSERT_TRUE(waitUntil([&] { return peer.framesOfType(MSG_PRESET_CLEAR).size() == 1; }));
}

TEST_F(PresetTransferTest, TakingAFileWithoutFollowLeavesEveryInstallationParameterAlone)
{
    SETTINGS_MAP fileSet;
    changeEveryParameter(fileSet);
    ASSERT_TRUE(writePreset(namedHeader("From disk"), fileSet, path("disk.orba")));
    SETTINGS_MAP &live = session->live();
    session->globals().setBool(G_S_FOLLOW, false, CHANGE_PROCESSOR);
    SETTINGS_MAP before;
    before.assignFrom(live);

    ASSERT_TRUE(transfer->takeFile(path("disk.orba")).ok());
    int installation = 0;
    for (uint16_t id = firstSettingId(); id != SETTINGS_END; id = nextSettingId(id)) {
        if (isInstallationParameter(id)) {
            ++installation;
            EXPECT_EQ(live.getRaw(id), before.getRaw(id)) << id;
        } else {
            EXPECT_EQ(live.getRaw(id), fileSet.getRaw(id)) << id;
        }
    }
    EXPECT_GT(installation, 0);
    ASSERT_TRUE(waitUntil([&] { return peer.framesOfType(MSG_CURRENT_PRESET).size() == 1; }));

    // With "S_FOLLOW" on, the installation parameters come too.
    session->globals().setBool(G_S_FOLLOW, true, CHANGE_PROCESSOR);
    live.assignFrom(before);
    ASSERT_TRUE(transfer->takeFile(path("disk.orba")).ok());
    EXPECT_EQ(differingParameters(live, fileSet), 0);
}

TEST_F(PresetTransferTest, AFileThatDoesNotLoadIsReportedAndChangesNothing)
{
    ASSERT_TRUE(writeAll(path("junk.orba"), "not a preset\n"));
    SETTINGS_MAP before;
    before.assignFrom(session->live());
    const TransferResult r = transfer->takeFile(path("junk.orba"));
    EXPECT_EQ(r.status, TransferResult::NotLoaded);
    EXPECT_EQ(r.title, "Error");
    EXPECT_EQ(r.text, "Error taking preset:\nInvalid File Type");
    EXPECT_EQ(differingParameters(session->live(), before), 0);
}

TEST_F(PresetTransferTest, TakingASlotNeedsTheSlotInUse)
{
    EXPECT_EQ(transfer->takeSlot(20).status, TransferResult::Refused);
    session->presetSlots().set(20, usedHeader("Twenty"));
    ASSERT_TRUE(transfer->takeSlot(20).ok());
    ASSERT_TRUE(waitUntil([&] { return peer.framesOfType(MSG_TAKE_PRESET).size() == 1; }));
}
