#include "panels/kel_bench.h"

#include "common/ini_store.h"
#include "common/message.h"
#include "gui/early_pictures.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_display.h"
#include "gui/gui_image.h"
#include "gui/skin_elements.h"
#include "panels/access_classes.h"
#include "panels/cg_amhd.h"
#include "panels/cg_amtx.h"
#include "panels/cg_compressor.h"
#include "panels/cg_input.h"
#include "panels/cg_main.h"
#include "panels/cg_mblim.h"
#include "panels/cg_parametric.h"
#include "panels/cg_system.h"
#include "panels/control_ids.h"
#include "skin/skin_report.h"

#include <QPainter>
#include <QRegion>
#include <QTimer>

#include <cmath>
#include <cstdarg>

namespace {
const QString kOptions = QStringLiteral("OPTIONS");
constexpr int kDefaultGraphView = tcGuiApGraph::kResponse | tcGuiApGraph::kAudio;
} // namespace

tcKelBench::tcKelBench(QWidget *window, const QString &skinFolder, const KelEnvironment &environment)
    : tcBenchMaster(skinFolder, &guiSkinVocabulary()), m_window(window), m_env(environment)
{
}

tcKelBench::tcKelBench(QWidget *window, std::shared_ptr<const orba::skin::SkinSource> source,
                       const KelEnvironment &environment)
    : tcBenchMaster(std::move(source), &guiSkinVocabulary()), m_window(window), m_env(environment)
{
}

tcKelBench::~tcKelBench()
{
    if (m_firstPaintDone) // its pass will not come
        tcGuiImage::deferCompanions(false);
    destroyPanels();
}

int tcKelBench::loadSkin()
{
    const int result = tcBenchMaster::loadSkin();
    if (result != 0)
        return result;
    return createPanels();
}

int tcKelBench::createPanels()
{
    m_background = static_cast<tcGuiImage *>(tcGuiObject::find(this, NameString("BKGRND"), kGuiImage));
    if (!m_background) {
        fail("ERROR: Loading the skin file, no BKGRND image found");
        return -2;
    }
    for (tcBenchObject *object : objects())
        static_cast<tcGuiObject *>(object)->setHostWidget(m_window);
    // The focus outline in the skin's own colour, where it names one.
    QRgb focus = 0;
    if (colour("C_FOCUS", &focus) || colour("C_TEXT", &focus))
        setFocusColour(focus);

    m_panels[0] = m_main = new tcControlGroupMain(this);
    m_panels[1] = m_input = new tcControlGroupInput(this);
    m_panels[2] = m_parametric = new tcControlGroupParametric(this);
    m_panels[3] = m_compressor = new tcControlGroupCompressor(this);
    m_panels[4] = m_system = new tcControlGroupSystem(this);
    m_panels[5] = m_amHd = new tcControlGroupAmHd(this);
    m_panels[6] = m_fmOut = new tcControlGroupFMOut(this);
    m_panels[7] = m_amTx = new tcControlGroupAmTx(this);
    m_created = true;

    IniStore *ini = m_env.settings;
    m_graphView =
        ini ? ini->readInt(kOptions, QStringLiteral("GRAPHVIEW"), kDefaultGraphView) : kDefaultGraphView;
    m_screen = restoredScreen();
    if (tcGuiApGraph *graph = mainGraph()) {
        graph->setSpectrumRange(ini ? ini->readInt(kOptions, QStringLiteral("SPECTRA_RANGE"), 0) : 0);
        graph->setMode(m_graphView);
    }
    for (tcControlGroup *panel : m_panels)
        panel->init();
    m_main->setVisible(true);
    m_main->refreshGraphSource();
    fitHost();
    return 0;
}

int tcKelBench::restoredScreen() const
{
    // A first start, with no screen saved yet, opens on the input screen.
    const int n = m_env.settings ? m_env.settings->readInt(kOptions, QStringLiteral("CONTROL"), kInputScreen)
                                 : kInputScreen;
    return n < 0 || n > 7 || n == 3 ? kSystemScreen : n;
}

void tcKelBench::destroyPanels()
{
    if (!m_created)
        return;
    if (IniStore *ini = m_env.settings) {
        if (const tcGuiApGraph *graph = mainGraph())
            ini->writeInt(kOptions, QStringLiteral("SPECTRA_RANGE"), graph->spectrumRange());
        ini->writeInt(kOptions, QStringLiteral("CONTROL"), m_screen);
    }
    m_created = false;
    for (tcControlGroup *&panel : m_panels) {
        delete panel;
        panel = nullptr;
    }
    m_main = nullptr;
    m_input = nullptr;
    m_parametric = nullptr;
    m_compressor = nullptr;
    m_system = nullptr;
    m_amHd = nullptr;
    m_fmOut = nullptr;
    m_amTx = nullptr;
}

tcControlGroup *tcKelBench::screenPanel(int n) const
{
    switch (n) {
    case kCompressorScreen:
        return m_compressor;
    case kParametricScreen:
        return m_parametric;
    case kInputScreen:
        return m_input;
    case kAmHdScreen:
        return m_amHd;
    case kAmOutScreen:
        return m_fmOut;
    case kAmTxScreen:
        return m_amTx;
    default:
        return m_system;
    }
}

void tcKelBench::setScreen(int n)
{
    if (!m_created)
        return;
    if (n < 0 || n > 7 || n == 3)
        n = kSystemScreen;
    tcControlGroup *shown = screenPanel(n);
    for (tcControlGroup *panel : m_panels) {
        if (panel != m_main && panel != shown)
            panel->setVisible(false);
    }
    shown->setVisible(true);
    m_screen = n;
    shown->setUpGraph(mainGraph());
    m_main->refreshFlow();
    m_main->refreshGraphSource();
}

void tcKelBench::setGraphView(int mode)
{
    m_graphView = mode;
    if (m_env.settings)
        m_env.settings->writeInt(kOptions, QStringLiteral("GRAPHVIEW"), mode);
    tcGuiApGraph *graph = mainGraph();
    if (!graph || !m_created)
        return;
    graph->setMode(mode);
    screenPanel(m_screen)->setUpGraph(graph);
}

tcGuiApGraph *tcKelBench::mainGraph() const
{
    return m_main ? m_main->findApGraph(Ctl::GRAPH) : nullptr;
}

void tcKelBench::lockBroadcast(bool locked)
{
    for (tcControlGroup *panel : m_panels) {
        if (panel)
            panel->lock(locked);
    }
}

void tcKelBench::setLock(bool locked)
{
    m_locked = locked;
    lockBroadcast(locked);
}

void tcKelBench::meterFrame(const uint8_t *datagram)
{
    if (!m_created || !datagram)
        return;
    // A dozen bars, lamps and the trace change together: one request for all of them.
    m_frameDirty = QRegion();
    m_inFrame = true;
    m_main->meterFrame(datagram);
    m_compressor->meterFrame(datagram);
    m_input->statusUpdate(datagram);
    m_system->statusUpdate(datagram);
    m_inFrame = false;
    // Painted now rather than posted: a posted request would wake the event loop once more.
    if (m_window && !m_frameDirty.isEmpty())
        m_window->repaint(m_frameDirty);
}

void tcKelBench::resetMeters()
{
    if (!m_created)
        return;
    m_main->resetMeters();
    m_input->resetStatus();
    m_system->resetStatus();
}

void tcKelBench::setAccess(uint32_t codeCrc, uint32_t bits)
{
    m_lockCode = codeCrc;
    m_lockBits = bits;
    lockBroadcast(m_locked);
}

QString tcKelBench::toolTipAt(int x, int y)
{
    if (!m_created)
        return QString();
    const int sx = toSkinX(x), sy = toSkinY(y);
    // Topmost first: the objects are in paint order.
    const std::vector<tcBenchObject *> &list = objects();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (!(*it)->contains(sx, sy))
            continue;
        for (const tcControlGroup *panel : m_panels) {
            if (!panel->isVisible())
                continue;
            for (const tcControlGroup::Entry &e : panel->entries()) {
                if (e.object != *it)
                    continue;
                const QString text = panel->toolTip(e);
                if (text.isEmpty())
                    continue;
                // The locked look alone does not say that a press asks for the code.
                if (e.object->lockedLook())
                    return text + QStringLiteral("\nLocked: the access code is asked first.");
                return text;
            }
        }
    }
    return QString();
}

bool tcKelBench::keyActivate()
{
    tcBenchObject *focused = focusedObject();
    if (!focused)
        return false;
    if (focused->keyActivate())
        return true;
    for (const tcControlGroup *panel : m_panels) {
        if (!panel->isVisible())
            continue;
        for (const tcControlGroup::Entry &e : panel->entries()) {
            if (e.object != focused || !e.binding || !e.binding->display)
                continue;
            tcGuiDisplay *display = panel->findDisplay(e.binding->display);
            if (!display || !display->isVisible() || !display->acceptsDoubleClick())
                return false;
            const QPoint c = display->area().center();
            display->doubleClick(c.x(), c.y());
            return true;
        }
    }
    return false;
}

int tcKelBench::accessLevel(int controlId)
{
    if (!isRestricted(orba::restrictionClass(controlId)))
        return 0;
    if (m_lockCode != 0) {
        tcKelHost *host = m_env.host;
        if (!host || !host->kelAskAccessCode(m_lockCode))
            return 1;
        host->kelUnlocked();
    }
    setLock(false);
    orba::showMessage(orba::MessageKind::Information, m_window.data(), QStringLiteral("GUI Lock"),
                      QStringLiteral("This GUI interface is now unlocked."));
    return 2;
}

void tcKelBench::fitHost()
{
    if (!m_window || !m_background)
        return;
    const QRect area = toWidgetRect(QRect(QPoint(0, 0), m_background->area().bottomRight()));
    m_window->setFixedSize(area.right() + 1, area.bottom() + 1);
}

void tcKelBench::invalidate(const QRect &rect, int)
{
    if (m_inFrame)
        m_frameDirty += toWidgetRect(rect);
    else if (m_window)
        m_window->update(toWidgetRect(rect));
}

void tcKelBench::wantTicks()
{
    if (m_env.host)
        m_env.host->kelWantTicks();
}

void tcKelBench::report(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    orba::skin::keepReport(m_messages, false, format, args);
    va_end(args);
}

void tcKelBench::sharpenPictures()
{
    m_sharpenQueued = false;
    tcGuiImage::deferCompanions(false);
    if (!m_window)
        return;
    // Stretched pictures are prepared as they are drawn again; the others all at once here.
    std::vector<tcGuiImage::Use> pictures = picturesFor(m_window->rect(), m_window->devicePixelRatioF());
    if (!pictures.empty())
        tcGuiImage::decodeTogether(std::move(pictures));
    m_window->update();
}

std::vector<tcGuiImage::Use> tcKelBench::picturesFor(const QRect &rect, qreal ratio)
{
    std::vector<tcGuiImage::Use> pictures;
    QImage scratch(1, 1, QImage::Format_RGB32);
    // At the real painter's pixel ratio, so pictures are prepared for the scale it draws at.
    scratch.setDevicePixelRatio(ratio);
    QPainter collect(&scratch);
    tcGuiImage::setCollecting(&pictures);
    paint(collect, rect);
    tcGuiImage::setCollecting(nullptr);
    return pictures;
}

bool tcKelBench::drawsOver(const tcBenchObject *self, const QRect &rect) const
{
    const tcBenchObject *focused = focusedObject();
    if (focused && focused != self && focusRect(focused).intersects(rect))
        return true;
    // What the paint below draws: the objects of the panels shown.
    for (const tcControlGroup *panel : m_panels) {
        if (!panel->isVisible())
            continue;
        for (const tcControlGroup::Entry &e : panel->entries()) {
            if (e.object && e.object != self && e.object->intersects(rect))
                return true;
        }
    }
    return false;
}

void tcKelBench::paint(QPainter &painter, const QRect &rect)
{
    const bool first = m_created && !m_firstPaintDone;
    bool sharpen = false;
    if (first) {
        // The first paint needs dozens of pictures: a paint that only collects them, then all
        // decoded at once on every core, then the real paint. Collected for the whole window: a
        // first paint comes in parts (around a window still over it), and the parts after this
        // one would each decode theirs alone, one by one.
        m_firstPaintDone = true;
        std::vector<tcGuiImage::Use> pictures =
            picturesFor(m_window ? m_window->rect() : rect,
                        painter.device() ? painter.device()->devicePixelRatio() : 1.0);
        // Companions of twice the size hold four times the pixels: the window shows first, from
        // the pictures, and sharpens straight after.
        sharpen = tcGuiImage::decodeTogether(std::move(pictures), false);
        // What the start decoded ahead and this screen does not show goes, after this paint; from
        // now on it would only decode what is dropped then.
        if (orba::gui::EarlyPictures::running()) {
            orba::gui::EarlyPictures::stop();
            QTimer::singleShot(0, &m_later, [] { orba::gui::EarlyPictures::finish(); });
        }
        // Until then, so do the paints that follow before it (the first expose may come after a
        // first paint of part of the window).
        tcGuiImage::deferCompanions(true);
    }
    painter.save();
    const QRect dirty = beginSkinPaint(painter, rect);
    // Every request repaints the background under it: captions and lamp texts are drawn
    // transparently, so what they showed before must be wiped. Not under objects that cover
    // their area anyway (the graphs), which a meter frame repaints every time.
    const QRect bg = m_background ? m_background->area() : QRect();
    const QRect part = dirty.intersected(bg);
    QRegion covered;
    if (m_created) {
        for (const tcControlGroup *panel : m_panels) {
            if (panel->isVisible())
                panel->addOpaqueAreas(covered, part);
        }
    }
    for (const QRect &r : QRegion(part).subtracted(covered)) {
        if (m_background && m_background->hasPixmap())
            m_background->drawSectionPart(painter, r.left(), r.top(), 0, r.left() - bg.left(),
                                          r.top() - bg.top(), r.width(), r.height());
        else
            painter.fillRect(r, Qt::black);
    }
    const QRegion outside = QRegion(dirty).subtracted(QRegion(part));
    for (const QRect &r : outside)
        painter.fillRect(r, Qt::black);
    if (m_created) {
        for (const tcControlGroup *panel : m_panels) {
            if (panel->isVisible())
                panel->paint(painter, dirty);
        }
    }
    paintFocus(painter, dirty);
    painter.restore();
    // Pictures that stood in here (drawn stretched, or missed by the collecting pass) wait for it too.
    if ((sharpen || tcGuiImage::companionsDeferred()) && !m_sharpenQueued) {
        m_sharpenQueued = true;
        QTimer::singleShot(0, &m_later, [this] { sharpenPictures(); });
    }
}
