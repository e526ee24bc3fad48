// Report pages on a recording paint device, on an image, and as the PDF a real QPrinter makes.
#include "dialog_answer.h"
#include "preset_helpers.h"
#include "presets/dialogs/report_printer.h"
#include "presets/report_pages.h"
#include <QTemporaryDir>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextItem>

#include <gtest/gtest.h>

using namespace orba;
using namespace orba::test;

namespace {

struct DrawnText
{
    int page;
    QString text;
    QPointF at;
    QRgb colour;
};

struct DrawnLine
{
    int page;
    QLineF line;
    QRgb colour;
};

class RecordingEngine : public QPaintEngine
{
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            m_pen = state.pen();
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        texts.push_back({page, item.text(), p, m_pen.color().rgba()});
    }
    using QPaintEngine::drawLines; // the QLine overload converts and comes here
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            this->lines.push_back({page, lines[i], m_pen.color().rgba()});
    }
    Type type() const override { return QPaintEngine::User; }

    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;
    int page = 1;

private:
    QPen m_pen;
};

// A 600 x 800 device at 96 dpi whose paint engine records.
class RecordingDevice : public QPaintDevice
{
public:
    QPaintEngine *paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return 600;
        case PdmHeight:
            return 800;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmWidthMM:
            return 600 * 254 / 960;
        case PdmHeightMM:
            return 800 * 254 / 960;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
        }
    }
};

std::vector<ReportLine> numberedLines(int n)
{
    std::vector<ReportLine> lines;
    for (int i = 0; i < n; ++i)
        lines.push_back({QStringLiteral("line %1").arg(i), i % 2 ? REPORT_DIFF_ARGB : REPORT_TEXT_ARGB});
    return lines;
}

// The pages of a PDF file, counted by its page objects.
int pdfPageCount(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

} // namespace

TEST(ReportPages, LongReportRepeatsTheHeaderWithTheNextPageNumber)
{
    RecordingDevice device;
    ReportPages report;
    int turns = 0;
    report.setPageTurn([&] {
        ++turns;
        ++device.engine.page;
        return true;
    });
    ASSERT_TRUE(report.begin(&device, QStringLiteral("Talmen ORBA"), QStringLiteral("Night.orba")));
    const int lh = report.lineHeight();
    ASSERT_GT(lh, 0);
    // Lines per page: from two line heights below the top margin to the bottom reserve.
    const int perPage = (800 - 3 * lh - (3 * lh + 2 * lh) + lh - 1) / lh;
    const int count = perPage * 2 + 3;
    report.lines(numberedLines(count));
    EXPECT_EQ(report.pageNumber(), 3);
    report.end();
    EXPECT_EQ(turns, 2);

    const auto &texts = device.engine.texts;
    for (int page = 1; page <= 3; ++page) {
        auto find = [&](const QString &t) {
            return std::find_if(texts.begin(), texts.end(),
                                [&](const DrawnText &d) { return d.page == page && d.text == t; });
        };
        const auto title = find(QStringLiteral("Night.orba"));
        const auto number = find(QStringLiteral("Page %1").arg(page));
        const auto heading = find(QStringLiteral("Talmen ORBA"));
        ASSERT_NE(title, texts.end()) << "page " << page;
        ASSERT_NE(number, texts.end()) << "page " << page;
        ASSERT_NE(heading, texts.end()) << "page " << page;
        EXPECT_EQ(title->colour, REPORT_HEADING_ARGB);
        EXPECT_EQ(number->colour, REPORT_HEADING_ARGB);
        EXPECT_EQ(heading->colour, REPORT_SUBHEADING_ARGB);
        // Title left, heading centred, number right, all on the header line.
        EXPECT_LT(title->at.x(), heading->at.x());
        EXPECT_LT(heading->at.x(), number->at.x());
        EXPECT_LT(title->at.y(), 3 * lh + lh);
        // The page's first body line comes below the rule.
        const auto rule = std::find_if(device.engine.lines.begin(), device.engine.lines.end(),
                                       [&](const DrawnLine &l) { return l.page == page; });
        ASSERT_NE(rule, device.engine.lines.end());
        EXPECT_EQ(rule->colour, REPORT_HEADING_ARGB);
        EXPECT_DOUBLE_EQ(rule->line.y1(), 4 * lh);
        const auto body = std::find_if(texts.begin(), texts.end(), [&](const DrawnText &d) {
            return d.page == page && d.text.startsWith(QLatin1String("line "));
        });
        ASSERT_NE(body, texts.end());
        EXPECT_GT(body->at.y(), rule->line.y1());
        EXPECT_EQ(body->text, QStringLiteral("line %1").arg((page - 1) * perPage));
    }
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const DrawnText &d) { return d.text.startsWith(QLatin1String("Page ")); }),
              3);
    // Body lines keep their own colours.
    const auto odd = std::find_if(texts.begin(), texts.end(),
                                  [](const DrawnText &d) { return d.text == QLatin1String("line 1"); });
    ASSERT_NE(odd, texts.end());
    EXPECT_EQ(odd->colour, REPORT_DIFF_ARGB);
}

TEST(ReportPrinter, PdfThroughQPrinterHasTheExpectedPageCount)
{
    QTemporaryDir work;
    const QString pdf = work.filePath(QStringLiteral("report.pdf"));
    DialogAnswer<QPrintDialog> answer([&](QPrintDialog &d) {
        d.printer()->setOutputFormat(QPrinter::PdfFormat);
        d.printer()->setOutputFileName(pdf);
        d.printer()->setPageSize(QPageSize(QPageSize::A4));
        return int(QDialog::Accepted);
    });
    ReportPrinter printer;
    ASSERT_EQ(printer.start(QStringLiteral("Talmen ORBA"), QStringLiteral("Differences"), nullptr), 0);
    EXPECT_EQ(printer.printer()->docName(), QStringLiteral("Talmen ORBA - Differences"));
    printer.lines(numberedLines(300));
    const int pages = printer.pageNumber();
    printer.end();
    EXPECT_GT(pages, 1);
    EXPECT_EQ(pdfPageCount(pdf), pages);

    // The preset report of the whole table.
    const QString preset = work.filePath(QStringLiteral("preset.pdf"));
    answer.answer = [&](QPrintDialog &d) {
        d.printer()->setOutputFormat(QPrinter::PdfFormat);
        d.printer()->setOutputFileName(preset);
        return int(QDialog::Accepted);
    };
    SETTINGS_MAP set;
    printPresetReport(nullptr, set, QStringLiteral("Night.orba"));
    EXPECT_GE(pdfPageCount(preset), 2);
}

TEST(ReportPrinter, CancelledPrintDialogPrintsNothing)
{
    QTemporaryDir work;
    const QString pdf = work.filePath(QStringLiteral("none.pdf"));
    DialogAnswer<QPrintDialog> answer([&](QPrintDialog &d) {
        d.printer()->setOutputFormat(QPrinter::PdfFormat);
        d.printer()->setOutputFileName(pdf);
        return int(QDialog::Rejected);
    });
    ReportPrinter printer;
    EXPECT_NE(printer.start(QStringLiteral("Talmen ORBA"), QStringLiteral("X"), nullptr), 0);
    EXPECT_FALSE(printer.active());
    printer.line(QStringLiteral("nothing"));
    printer.end();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(ReportPages, FirstPageOfTheDifferenceReportOnAnImage)
{
    // An A4 page at 100 dpi; the report stops at the end of it.
    QImage page(827, 1169, QImage::Format_ARGB32);
    page.fill(Qt::white);
    SETTINGS_MAP live, other;
    changeEveryParameter(other);
    ASSERT_TRUE(other.setFloat(PEQ1_LIFT, live.getFloat(PEQ1_LIFT), CHANGE_LOCAL));
    const std::vector<DiffRow> rows =
        diffRows({&live, headerForSet(live, "Current")}, {&other, headerForSet(other, "Night")});
    ReportPages report;
    report.setPageTurn([] { return false; });
    ASSERT_TRUE(report.begin(&page, reportHeading(), diffReportTitle()));
    report.lines(diffReportLines(rows));
    EXPECT_FALSE(report.active()); // the page was full
    // The rule under the header is drawn in the heading colour across the page.
    const int ruleY = 4 * report.lineHeight();
    EXPECT_EQ(page.pixelColor(page.width() / 2, ruleY).rgba(), REPORT_HEADING_ARGB);
    const QByteArray dir = qgetenv("ORBA_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(
            page.save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("preset-report.png"))));
    }
}
