// tcKelBench: the product's bench. After the skin has loaded it creates the eight control panels,
// shows the always-visible main panel beside one processing screen, dispatches every changed
// parameter and global to the panel and object that show it, paints the background and the
// visible panels, hands meter frames to the panels that show meter data, and answers every
// object's access question from the GUI lock. The main window owns it through the host widget.
#pragma once

#include "gui/gui_image.h"
#include "skin/bench_master.h"
#include "tables/settings_map.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

class IniStore;
class GLOBALS_MAP;
class tcControlGroup;
class tcControlGroupMain;
class tcControlGroupInput;
class tcControlGroupParametric;
class tcControlGroupCompressor;
class tcControlGroupSystem;
class tcControlGroupAmHd;
class tcControlGroupFMOut;
class tcControlGroupAmTx;
class tcGuiApGraph;
class tcGuiImage;

namespace orba {
class QuickSave;
namespace panels {
struct Binding;
}
} // namespace orba

// What the bench needs of the main window, which sits above it.
class tcKelHost
{
public:
    virtual ~tcKelHost() = default;
    virtual bool kelOnlineWanted() const { return false; }
    virtual bool kelTcpMeters() const { return false; }
    virtual void kelSetTcpMeters(bool /*on*/) {}
    // The unlock prompt: true when the user typed the code whose CRC is given. Until the prompt
    // exists nothing is typed, so nothing unlocks.
    virtual bool kelAskAccessCode(uint32_t /*codeCrc*/) { return false; }
    // The GUI was unlocked; the current device remembers it.
    virtual void kelUnlocked() {}
    // An object needs the bench's ticks (tcBench::wantTicks).
    virtual void kelWantTicks() {}
};

// The long-lived objects the panels read and write; the two parameter sets are required.
struct KelEnvironment
{
    SETTINGS_MAP *live = nullptr;
    GLOBALS_MAP *globals = nullptr;
    IniStore *settings = nullptr; // "KELQT.ini", or none
    orba::QuickSave *quickSave = nullptr;
    // The GUI-refresh marks of the settings; a row refresh takes the marks of its other ids.
    SETTINGS_FLAGS *settingsToShow = nullptr;
    tcKelHost *host = nullptr;
};

class tcKelBench : public tcBenchMaster
{
public:
    // Screen numbers of the processing panels.
    enum Screen : int {
        kSystemScreen = 0,
        kCompressorScreen = 1,
        kParametricScreen = 2,
        kInputScreen = 4,
        kAmHdScreen = 5,
        kAmOutScreen = 6,
        kAmTxScreen = 7,
    };
    static constexpr int kPanelCount = 8;

    tcKelBench(QWidget *window, const QString &skinFolder, const KelEnvironment &environment);
    tcKelBench(QWidget *window, std::shared_ptr<const orba::skin::SkinSource> source,
               const KelEnvironment &environment);
    ~tcKelBench() override;

    // Loads the skin, then creates the panels: 0 on success, negative on failure.
    int loadSkin() override;
    bool panelsCreated() const { return m_created; }

    int accessLevel(int controlId) override;
    void fitHost() override;
    void paint(QPainter &painter, const QRect &rect) override;
    bool drawsOver(const tcBenchObject *self, const QRect &rect) const override;
    void invalidate(const QRect &rect, int flags) override;
    void report(const char *format, ...) override;
    // The tooltip of the shown control under a widget position: what it is bound to and the value
    // it shows, or what a button does.
    QString toolTipAt(int x, int y) override;
    // Space or Enter: the focused control's click, or on a knob with a value display the display's
    // double click (type the value).
    bool keyActivate() override;
    void wantTicks() override;
    const QStringList &messages() const { return m_messages; }

    // Screens and the main graph.
    void setupFirstScreen() { setScreen(m_screen); }
    void setScreen(int n);
    int screen() const { return m_screen; }
    tcControlGroup *screenPanel(int n) const;
    void setGraphView(int mode);
    int graphView() const { return m_graphView; }
    tcGuiApGraph *mainGraph() const;

    // Dispatch of a changed parameter or global to what shows it.
    void onSettingsId(uint16_t id);
    void onGlobalsId(uint16_t id);
    // The panel of a screen number (-1 for the main panel), none for an unused number.
    tcControlGroup *panelOfScreen(int screen) const;
    // Controls whose visibility follows "AM Width".
    void widthRefresh();
    // What follows "AM Bandwidth", whoever changed it.
    void bandwidthRefresh();
    void lockBroadcast(bool locked);

    // Meter frames, to the panels that show meter data; reset when the link goes down.
    void meterFrame(const uint8_t *datagram);
    void resetMeters();

    // The GUI lock.
    void setLock(bool locked);
    bool locked() const { return m_locked; }
    void setAccess(uint32_t codeCrc, uint32_t bits);
    uint32_t lockCode() const { return m_lockCode; }
    uint32_t lockBits() const { return m_lockBits; }
    bool isRestricted(uint32_t bits) const { return m_locked && (m_lockBits & bits) != 0; }

    const KelEnvironment &environment() const { return m_env; }
    QWidget *window() const { return m_window; }

    tcControlGroupMain *mainPanel() const { return m_main; }
    tcControlGroupInput *inputPanel() const { return m_input; }
    tcControlGroupParametric *parametricPanel() const { return m_parametric; }
    tcControlGroupSystem *systemPanel() const { return m_system; }
    tcControlGroupCompressor *compressorPanel() const { return m_compressor; }
    tcControlGroupAmHd *amHdPanel() const { return m_amHd; }
    tcControlGroupFMOut *fmOutPanel() const { return m_fmOut; }
    tcControlGroupAmTx *amTxPanel() const { return m_amTx; }
    // In painting order: Main, Input, Parametric, Compressor, System, AM HD, AM output, AM Tx.
    const std::array<tcControlGroup *, kPanelCount> &panels() const { return m_panels; }

private:
    int createPanels();
    void destroyPanels();
    void clearToShow(uint16_t first, int count, int stride);
    void route(const orba::panels::Binding &binding, uint16_t id);
    int restoredScreen() const;

    QPointer<QWidget> m_window;
    KelEnvironment m_env;
    bool m_created = false;
    bool m_firstPaintDone = false;
    // Pictures prepared from their companions of twice the size after the first paint; the
    // object ends the call with the bench.
    void sharpenPictures();
    // What a paint of `rect` at that pixel ratio would decode or prepare, found by a paint that
    // only collects.
    std::vector<tcGuiImage::Use> picturesFor(const QRect &rect, qreal ratio);
    QObject m_later;
    bool m_sharpenQueued = false;
    bool m_inFrame = false;  // a meter frame is being taken: repaints wait for its end
    QRegion m_frameDirty;
    tcGuiImage *m_background = nullptr;
    int m_screen = 0;
    int m_graphView = 0;
    bool m_locked = false;
    uint32_t m_lockCode = 0;
    uint32_t m_lockBits = 0;
    QStringList m_messages;

    tcControlGroupMain *m_main = nullptr;
    tcControlGroupInput *m_input = nullptr;
    tcControlGroupParametric *m_parametric = nullptr;
    tcControlGroupCompressor *m_compressor = nullptr;
    tcControlGroupSystem *m_system = nullptr;
    tcControlGroupAmHd *m_amHd = nullptr;
    tcControlGroupFMOut *m_fmOut = nullptr;
    tcControlGroupAmTx *m_amTx = nullptr;
    std::array<tcControlGroup *, kPanelCount> m_panels{};
};
