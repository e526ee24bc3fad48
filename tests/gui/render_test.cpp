// Renders the sample skin in varied states; $ORBA_RENDER_DIR keeps the picture to look at.
#include "../../bench/skin/sample_skin.h"
#include "gui/gui_apgraph.h"
#include "gui/gui_button.h"
#include "gui/gui_checkbox.h"
#include "gui/gui_combo.h"
#include "gui/gui_display.h"
#include "gui/gui_dyngraph.h"
#include "gui/gui_knob.h"
#include "gui/gui_listbox.h"
#include "gui/gui_meter.h"
#include "gui/gui_test_util.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace orba::test;

namespace {
using RenderTest = GuiTest;
} // namespace

TEST_F(RenderTest, SampleSkinRendersEveryKindOfObject)
{
    const int objects = orba::sample::writeSampleSkin(skinDir(), 32);
    m_host = std::make_unique<tcVORudWidget>();
    m_bench = new tcPlainBench(skinDir(), &guiSkinVocabulary());
    m_bench->setQuiet(true);
    m_bench->setHost(m_host.get());
    m_host->setBench(m_bench);
    ASSERT_EQ(m_bench->loadSkin(), 0) << m_bench->messages().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(static_cast<int>(m_bench->objects().size()), objects);
    m_bench->fitHost();
    EXPECT_EQ(m_host->size(), QSize(1100, 720));
    showAll();
    for (int g = 0; g < 32; ++g) {
        object<tcGuiKnob>(qPrintable(QStringLiteral("K%1").arg(g)))->setValue(g * 8);
        object<tcGuiDisplay>(qPrintable(QStringLiteral("D%1").arg(g)))
            ->setCaption(QStringLiteral("%1 dB").arg(-g * 0.5, 0, 'f', 1));
        object<tcGuiButton>(qPrintable(QStringLiteral("B%1").arg(g)))->setLampState(g % 4);
        object<tcGuiCheckBox>(qPrintable(QStringLiteral("C%1").arg(g)))->setChecked(g % 3 == 0);
    }
    object<tcGuiDisplay>("D3")->setState(tcGuiDisplay::kError);
    object<tcGuiDisplay>("D5")->setState(tcGuiDisplay::kWarning);
    auto *combo = object<tcGuiCombo>("COMBO");
    combo->setItems({"Rock", "Talk", "Classical"});
    combo->setIndex(1, false);
    object<tcGuiListbox>("LIST")->setItems({{"Factory 1"}, {"Factory 2", true}, {"User 1"}, {"User 2"}});
    showHost();
    const uint8_t levels[2] = {20, 60}, peaks[2] = {8, 30}, ovl[2] = {1, 0};
    object<tcGuiMeter>("METER0")->setLevels(levels, peaks, ovl);
    auto *graph = object<tcGuiApGraph>("GRAPH");
    graph->setMode(tcGuiApGraph::kAudio);
    uint8_t spectrum[tcGuiApGraph::kSpectrumPoints];
    for (int i = 0; i < tcGuiApGraph::kSpectrumPoints; ++i)
        spectrum[i] = static_cast<uint8_t>(150 + 80 * std::sin(i / 40.0) - i / 8) & 0xFE;
    graph->setSpectrum(spectrum);
    auto *dyn = object<tcGuiDynGraph>("DYN");
    dyn->configure(4, 0, 3);
    dyn->setCurve(0, -40, 4, 0, -10, 0, 0, 1);
    dyn->setCurve(1, -30, 2, 0, -15, 0, 0, 1);
    dyn->setCurve(2, -50, 8, 5, -20, 0, 0, 1);

    const QImage image = grab();
    if (!qEnvironmentVariableIsEmpty("ORBA_RENDER_DIR"))
        image.save(QDir(qEnvironmentVariable("ORBA_RENDER_DIR")).filePath(QStringLiteral("sample_skin.png")));
    EXPECT_EQ(image.pixelColor(1000 + 4 + 1, 60 + 10 + 1), QColor(255, 40, 40)) << "lit overload lamp";
    EXPECT_EQ(image.pixelColor(1046 + 4 + 1, 60 + 10 + 1), QColor(70, 20, 20)) << "dark overload lamp";
    EXPECT_EQ(image.pixelColor(20 + 2, 40 + 62 + 2), QColor(0x10, 0x12, 0x16)) << "display background";
    EXPECT_EQ(image.pixelColor(20 + 78 * 3 + 2, 40 + 62 + 2), QColor(0, 0, 0)) << "error state background";
}
