// The connection manager of the main window: the link to the current device, the login
// handshake, the status texts, the ping, the meter requests and the meter timer, and the device
// and version dialogs. Transport reports arrive on the worker thread and become queued signals,
// so every state change below runs on the GUI thread.
#include "app/ap_widget.h"

#include "admin/device_list.h"
#include "admin/device_version_dlg.h"
#include "admin/devices_dlg.h"
#include "admin/pswd_entry_dlg.h"
#include "app/app_objects.h"
#include "common/ini_store.h"
#include "link/frames.h"
#include "link/meter.h"
#include "link/ports.h"
#include "link/tcp.h"

#include <QAction>
#include <QDialog>

#include <chrono>
#include <utility>

using orba::app;

namespace {
const QString kOptions = QStringLiteral("OPTIONS");

int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

int tcApWidget::execDialog(QDialog *dialog)
{
    return dialog->exec();
}

void tcApWidget::onLinkData(void *context, const uint8_t *bytes, size_t count)
{
    auto *self = static_cast<tcApWidget *>(context);
    ++self->m_linkChunks;
    self->m_link->feed(bytes, count);
}

void tcApWidget::onLinkStatus(void *context, int code)
{
    static_cast<tcApWidget *>(context)->on_link_status(code);
}

void tcApWidget::on_link_status(int code)
{
    // A frame cut by a reconnect must never be completed with bytes of the next connection.
    m_link->reset_assembler();
    switch (code) {
    case LINK_CLOSED:
    case LINK_GONE:
        emit sig_disconnect();
        break;
    case LINK_UP:
        emit sig_connect();
        break;
    case LINK_CONNECTING:
        emit sig_connecting();
        break;
    default:
        break;
    }
    m_version.clear();
    emit sig_recv_version();
}

void tcApWidget::linkConnectReply(uint16_t result)
{
    if (result == orba::CONNECT_ACCEPTED)
        emit sig_connect_accepted();
    else if (result == orba::CONNECT_PASSWORD)
        emit sig_connect_rejected();
}

void tcApWidget::dropTransport()
{
    // Nobody may send through the transport while it is being destroyed.
    if (m_link)
        m_link->setTransport(nullptr);
    m_transport.reset();
}

void tcApWidget::forgetProcessorSlots()
{
    auto &g = app();
    if (g.presetSlots)
        g.presetSlots->clearAll();
    emit sig_summary_changed();
    // A dialog that waits for the processor gives up.
    if (g.grab)
        g.grab->setDone();
    if (g.headerWait)
        g.headerWait->setDone();
}

void tcApWidget::set_online(bool wanted)
{
    if (m_tornDown)
        return;
    auto &g = app();
    m_onlineWanted = wanted;
    if (m_onlineAction)
        m_onlineAction->setChecked(wanted);
    if (skinLoaded())
        benchSetOnline(wanted);
    g.settings->writeInt(kOptions, QStringLiteral("ONLINE"), wanted ? 1 : 0);
    g.settings->flush();

    const LinkState before = m_linkState.load();
    const bool hadTransport = m_transport != nullptr;
    dropTransport();
    m_watch.idle();
    if (g.meters)
        g.meters->clearPeer();

    DeviceRecord *device = g.devices ? g.devices->current() : nullptr;
    if (!wanted || !device)
        return;
    const QByteArray address = device->ipAddress().toLatin1();
    uint8_t peer[4] = {};
    if (!orba::parseIPv4(address.constData(), peer) || (peer[0] | peer[1] | peer[2] | peer[3]) == 0) {
        // 0.0.0.0 is what an unreadable device file gives; the system would take it for this machine.
        // The end report of a link dropped here or just before comes after this.
        showLinkEnd(QStringLiteral("No address"), hadTransport || before == LinkState::Trying ||
                                                      before == LinkState::Pending ||
                                                      before == LinkState::Online);
        return;
    }
    // The report of the link just dropped arrives after the new attempt has set "trying"; a link
    // that was up is lost here and now, so its processor's slots go with it.
    if (before == LinkState::Pending || before == LinkState::Online)
        forgetProcessorSlots();
    m_linkState = LinkState::Trying;
    TcpCallbacks callbacks;
    callbacks.context = this;
    callbacks.on_data = &tcApWidget::onLinkData;
    callbacks.on_status = &tcApWidget::onLinkStatus;
    if (g.meters)
        g.meters->setPeer(peer);
    m_transport = std::make_unique<tcQTcpClient>(address.constData(), orba::processorPort(), callbacks,
                                                 m_watch.limits().connectWaitMs);
    m_link->setTransport(m_transport.get());
}

void tcApWidget::slot_menu_on_line()
{
    set_online(!m_onlineWanted);
}

void tcApWidget::slot_connecting()
{
    if (m_tornDown) // reports queued before the close arrive after it
        return;
    m_linkState = LinkState::Trying;
    m_watch.idle();
    setStatusText(QStringLiteral("Trying.."), StatusLook::Busy);
}

void tcApWidget::slot_connect()
{
    if (m_tornDown)
        return;
    if (!skinLoaded())
        return;
    auto &g = app();
    if (g.settings->readInt(QStringLiteral("DEVICE"), QStringLiteral("forceconnect"), 0) != 0) {
        emit sig_connect_accepted();
        return;
    }
    m_linkState = LinkState::Pending;
    setStatusText(QStringLiteral("Pending"), StatusLook::Normal);
    const DeviceRecord *device = g.devices ? g.devices->current() : nullptr;
    m_link->send_connect(device ? device->remoteCodeCrc() : orba::CONNECT_NO_DEVICE);
    m_watch.loginSent(nowMs());
}

void tcApWidget::slot_connect_accepted()
{
    if (m_tornDown)
        return;
    if (!skinLoaded())
        return;
    m_linkState = LinkState::Online;
    m_watch.online(nowMs(), heardCount());
    setStatusText(QStringLiteral("Online"), StatusLook::Normal);
    emit sig_request_meters();
    if (const DeviceRecord *device = app().devices ? app().devices->current() : nullptr)
        benchApplyAccess(*device);
}

void tcApWidget::slot_connect_rejected()
{
    if (m_tornDown)
        return;
    if (!skinLoaded() || m_loginOpen)
        return;
    const tcQTcpClient *asked = m_transport.get();
    m_watch.idle(); // the user takes their time; the processor has answered
    m_loginOpen = true;
    tcPswdEntryDlg dialog(tcPswdEntryDlg::Login, 0, this);
    const bool ok = execDialog(&dialog) == QDialog::Accepted;
    m_loginOpen = false;

    DeviceRecord *device = app().devices ? app().devices->current() : nullptr;
    if (!ok) {
        const bool reportFollows = m_transport != nullptr;
        set_online(false);
        showLinkEnd(QStringLiteral("Rejected"), reportFollows);
        return;
    }
    if (dialog.remember() && device)
        device->saveRemoteCrc(dialog.passwordCrc());
    // While the dialog was open the link may have dropped or been replaced; that connection asks
    // again on its own.
    if (m_transport.get() != asked || m_linkState.load() != LinkState::Pending)
        return;
    m_linkState = LinkState::Pending;
    setStatusText(QStringLiteral("Pending"), StatusLook::Normal);
    m_link->send_connect(dialog.passwordCrc());
    m_watch.loginSent(nowMs());
}

void tcApWidget::slot_disconnect()
{
    if (m_tornDown)
        return;
    if (!skinLoaded())
        return;
    const LinkState before = m_linkState.exchange(LinkState::Offline);
    m_watch.idle();
    const QString reason = std::exchange(m_endStatus, QString());
    if (reason.isEmpty())
        setStatusText(QStringLiteral("Offline"), m_onlineWanted ? StatusLook::Alert : StatusLook::Normal);
    else if (m_statusText != reason) // a stale report of the old link showed something else since
        setStatusText(reason, StatusLook::Alert);
    benchClearAccess();
    if (before != LinkState::Trying)
        forgetProcessorSlots();
    benchResetMeterGroups();
}

void tcApWidget::slot_ping_timer()
{
    if (m_tornDown)
        return;
    m_link->send_ping();
}

uint64_t tcApWidget::heardCount() const
{
    const METERIFACE *meters = app().meters;
    return uint64_t(m_linkChunks.load()) + (meters ? meters->acceptedCount() : 0);
}

void tcApWidget::slot_link_watch()
{
    if (m_tornDown || !m_transport)
        return;
    switch (m_watch.check(nowMs(), heardCount())) {
    case orba::LinkWatch::Verdict::Alive:
        break;
    case orba::LinkWatch::Verdict::LoginUnanswered:
        dropDeadLink(QStringLiteral("Login hung"));
        break;
    case orba::LinkWatch::Verdict::Silent:
        dropDeadLink(QStringLiteral("No reply"));
        break;
    }
}

// A processor that holds the connection but says nothing is as good as gone: the link is ended as
// if it had closed, and the transport tries again after its pause.
void tcApWidget::dropDeadLink(const QString &status)
{
    showLinkEnd(status, true);
    m_transport->hangUp();
}

void tcApWidget::showLinkEnd(const QString &status, bool reportFollows)
{
    m_endStatus = reportFollows ? status : QString();
    setStatusText(status, StatusLook::Alert);
}

void tcApWidget::set_tcp_meters(bool on)
{
    if (m_tornDown)
        return;
    m_tcpMeters = on;
    app().settings->writeInt(kOptions, QStringLiteral("TCPMETERS"), on ? 1 : 0);
    emit sig_request_meters();
}

void tcApWidget::slot_request_meters()
{
    if (m_tornDown)
        return;
    METERIFACE *meters = app().meters;
    if (!meters)
        return;
    const uint8_t counter = meters->nextRequestCounter();
    if (m_tcpMeters)
        m_link->request_meters_tcp(counter);
    else
        m_link->request_meters_udp(meters->port(), counter);
}

void tcApWidget::slot_meter_timer()
{
    if (m_tornDown)
        return;
    METERIFACE *meters = app().meters;
    if (!skinLoaded() || m_linkState.load() != LinkState::Online || !meters)
        return;
    uint8_t datagram[orba::METER_SIZE];
    if (meters->fetch(datagram) != 0)
        return;
    if (m_clock.store(orba::readMeterHeader(datagram)))
        emit sig_ap_clock();
    showMeterDatagram(datagram);
}

void tcApWidget::slot_version_dlg()
{
    if (m_tornDown)
        return;
    if (!require_online(QStringLiteral("ORBA Version")))
        return;
    tcDeviceVersionDlg dialog(&m_version, this);
    connect(this, &tcApWidget::sig_recv_version, &dialog, &tcDeviceVersionDlg::slot_recv_version);
    m_link->request_version();
    execDialog(&dialog);
}

void tcApWidget::slot_device_dlg()
{
    if (m_tornDown)
        return;
    auto &g = app();
    if (!g.devices)
        return;
    tcDevicesDlg dialog(g.devices, this);
    if (execDialog(&dialog) != QDialog::Accepted)
        return;
    const int row = dialog.selectedRow();
    if (m_onlineWanted) {
        set_online(false);
        g.devices->setCurrentIndex(row);
        set_online(true);
    } else {
        g.devices->setCurrentIndex(row);
    }
    const QString name = g.devices->nameAt(row);
    g.settings->writeString(QStringLiteral("DEVICE"), QStringLiteral("name"), name);
    setDeviceText(name, StatusLook::Normal);
}
