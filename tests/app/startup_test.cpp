#include "app/app_look.h"
#include "app/kel_widget.h"
#include "app/splash.h"
#include "common/ini_store.h"
#include "message_recorder.h"
#include "panels/kel_bench.h"
#include "skin/skin_pack.h"
#include "test_files.h"
#include "work_dir.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using StartupTest = orba::test::WorkDirTest;

TEST_F(StartupTest, FirstRunCreatesTheWorkingFoldersOpensOnTheInputScreenAndKeepsTheScreenChosen)
{
    orba::test::MessageRecorder messages;
    {
        KelWidget w;
        QApplication::processEvents(); // the queued start-up actions
        EXPECT_EQ(w.statusText(), QStringLiteral("OffLine"));
        EXPECT_EQ(w.deviceText(), QStringLiteral("????????")); // the saved device name, by default
        ASSERT_NE(w.kelBench(), nullptr);
        EXPECT_EQ(w.kelBench()->screen(), tcKelBench::kInputScreen);
        w.kelBench()->setScreen(tcKelBench::kSystemScreen);
        w.close();
    }
    for (const char *dir : {"maps", "presets", "presets/favorites", "presets/autoload", "skins"})
        EXPECT_TRUE(QDir(path(dir)).exists()) << dir;
    // Only the keys written during the run: the on-line mode, the screen and graph range that the
    // built-in skin's bench keeps at close, and the compressor's three overlay switches.
    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    EXPECT_EQ(settings.entries().size(), 6u);
    EXPECT_EQ(settings.readInt("AGCCOMP", "show_cgc", 9), 1);
    EXPECT_EQ(settings.readInt("AGCCOMP", "show_agc", 9), 1);
    EXPECT_EQ(settings.readInt("AGCCOMP", "show_cmp", 9), 0);
    EXPECT_EQ(settings.readInt("OPTIONS", "ONLINE", 9), 0);
    EXPECT_NE(settings.readInt("OPTIONS", "CONTROL", -1), -1);
    EXPECT_NE(settings.readInt("OPTIONS", "SPECTRA_RANGE", -1), -1);
    EXPECT_TRUE(messages.empty());

    KelWidget w;
    QApplication::processEvents();
    ASSERT_NE(w.kelBench(), nullptr);
    EXPECT_EQ(w.kelBench()->screen(), tcKelBench::kSystemScreen) << "a screen chosen is kept";
    w.close();
}

TEST_F(StartupTest, DialogsTakeTheSkinsColoursAndScaleAndGrowToTheirTitleAndContents)
{
    orba::applyLook(nullptr, 1.0);
    const double platform = QApplication::font().pointSizeF();
    ASSERT_TRUE(orba::test::writeAll(path("ap_scale.ini"), "[scale]\nX=1.5\nY=1.5\n"));
    orba::test::MessageRecorder messages;
    KelWidget w;
    QApplication::processEvents();
    // The built-in skin's window and text colours.
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(0x15, 0x18, 0x1C));
    EXPECT_EQ(QApplication::palette().color(QPalette::WindowText), QColor(0xDD, 0xE3, 0xEA));
    EXPECT_NEAR(QApplication::font().pointSizeF(), platform * 1.5, 0.01);

    // A dialog sized for the platform's font: at 150 % its text and its title still fit.
    QDialog dialog(&w);
    dialog.setWindowTitle(QStringLiteral("Save as Preset in ORBA"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("A line of text that a fixed size cut at 150 %"), &dialog));
    dialog.setFixedSize(120, 30);
    dialog.show();
    QApplication::processEvents();
    EXPECT_GE(dialog.width(), dialog.minimumSizeHint().width());
    EXPECT_GE(dialog.height(), dialog.minimumSizeHint().height());
    QFont bold = dialog.font();
    bold.setBold(true);
    EXPECT_GT(dialog.width(), QFontMetrics(bold).horizontalAdvance(dialog.windowTitle()));
    dialog.close();

    // A dialog that chose its own size for the platform's font grows with the scale, once.
    QDialog sized(&w);
    sized.resize(300, 200);
    sized.show();
    QApplication::processEvents();
    EXPECT_EQ(sized.size(), QSize(450, 300));
    sized.hide();
    sized.show();
    QApplication::processEvents();
    EXPECT_EQ(sized.size(), QSize(450, 300));
    sized.close();
    w.close();
    orba::applyLook(nullptr, 1.0); // the other tests' fonts
}

TEST_F(StartupTest, ADamagedSettingsFileIsKeptAsideAndTheApplicationStartsWithDefaults)
{
    const QByteArray damaged =
        "<?xml version=\"1.0\"?>\n<INI>\n<DEVICE\n    name=\"Studio & Co\"\n/>\n</INI>\n";
    ASSERT_TRUE(orba::test::writeAll(path("KELQT.ini"), damaged));
    orba::test::MessageRecorder messages;
    {
        KelWidget w;
        QApplication::processEvents();
        EXPECT_EQ(w.deviceText(), QStringLiteral("????????"));
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.last().title, QStringLiteral("Settings File"));
        EXPECT_TRUE(messages.last().text.contains(QStringLiteral("\"KELQT.ini\"")));
        EXPECT_TRUE(messages.last().text.contains(QStringLiteral("line 4")));
        w.close();
    }
    EXPECT_EQ(orba::test::readAll(path("KELQT.ini.bad")), damaged);
    IniStore settings(path("KELQT.ini"), IniStore::XmlFile);
    EXPECT_EQ(settings.readString("DEVICE", "name", "none"), QStringLiteral("none"));
}

TEST_F(StartupTest, TheStartSkinsPicturesAreFoundAheadWithoutTouchingAnything)
{
    auto write = [this](const QString &name, const QByteArray &bytes) {
        QDir().mkpath(QFileInfo(path(name)).path());
        ASSERT_TRUE(orba::test::writeAll(path(name), bytes));
    };
    auto entry = [](const QByteArray &name, const QByteArray &data) {
        return orba::skin::packEntryHeader(0, quint16(name.size()), quint32(data.size())) + name + data;
    };
    orba::test::MessageRecorder messages;

    // Nothing there: the built-in skin's pictures, without their companions.
    const std::vector<QByteArray> builtIn = tcApWidget::startSkinPictures();
    QFile resource(tcApWidget::builtInSkinPath());
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    size_t plain = 0;
    for (const auto &e : orba::skin::parsePackedSkin(resource.readAll()).entries)
        plain += e.name.endsWith(QStringLiteral(".png")) && !e.name.contains(QStringLiteral("@2x"));
    EXPECT_GT(plain, 10u);
    EXPECT_EQ(builtIn.size(), plain);
    EXPECT_TRUE(QDir(path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());

    // The packed skin the settings name.
    write(QStringLiteral("skins/mine.skin"), orba::skin::packHeader(3) + entry("skin.xml", "<SKIN/>") +
                                                 entry("images/a.png", "A") + entry("images/a@2x.png", "B"));
    write(QStringLiteral("KELQT.ini"), "<?xml version=\"1.0\"?>\n<INI>\n<SKIN\n    name=\"mine\"\n    "
                                       "file=\"1\"\n/>\n</INI>\n");
    EXPECT_EQ(tcApWidget::startSkinPictures(), std::vector<QByteArray>{QByteArray("A")});
    // A folder skin: nothing ahead.
    write(QStringLiteral("KELQT.ini"), "<?xml version=\"1.0\"?>\n<INI>\n<SKIN\n    name=\"mine\"\n    "
                                       "file=\"0\"\n/>\n</INI>\n");
    EXPECT_TRUE(tcApWidget::startSkinPictures().empty());

    // A damaged settings file is left as it is for the window to report, and no box shows now.
    write(QStringLiteral("KELQT.ini"), "<INI><SKIN name=\"mine\" & /></INI>");
    EXPECT_EQ(tcApWidget::startSkinPictures().size(), plain);
    EXPECT_FALSE(QFile::exists(path("KELQT.ini.bad")));
    EXPECT_TRUE(messages.messages().empty());
}

TEST(Splash, DrawsTheProductWordAndVersionInTheirBandsAndOnlyEscClosesIt)
{
    tcSplash splash(QPixmap(QStringLiteral(":/Resources/splash.bmp")));
    ASSERT_FALSE(splash.pixmap().isNull());
    const QImage img = splash.grab().toImage();
    if (!qEnvironmentVariableIsEmpty("ORBA_SAVE_SPLASH"))
        img.save(qEnvironmentVariable("ORBA_SAVE_SPLASH"));
    auto bandHasText = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (c.blue() > 200 && c.red() < 80 && c.green() > 90 && c.green() < 170)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(bandHasText(58, 58 + 20)); // "ORBA"
    EXPECT_TRUE(bandHasText(76, 76 + 16)); // the version line
    EXPECT_TRUE(tcSplash::versionText().startsWith(QStringLiteral("Version: 1.5.0\tBuilt: ")));

    // As the about box, only Esc closes it.
    splash.show();
    ASSERT_TRUE(splash.isVisible());
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(&splash, &other);
    EXPECT_TRUE(splash.isVisible());
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&splash, &esc);
    EXPECT_FALSE(splash.isVisible());
}
