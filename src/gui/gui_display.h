// tcGuiDisplay: a text field of a fixed width in characters showing a value with its unit or a
// message that scrolls as a marquee on the bench's tick; three colour sets (normal, error,
// warning). When editable, a double click opens tcDisplayEditDlg and reports the typed text.
#pragma once

#include "gui/gui_callbacks.h"
#include "gui/gui_object.h"

class tcGuiDisplay : public tcGuiObject
{
public:
    enum State : int { kNormal = 0, kError = 1, kWarning = 2, kNote = 3 };
    static constexpr int kStates = 4;
    struct Colours
    {
        QRgb fg, bg;
        bool transparent;
    };
    static constexpr const char *kSeparator = "  ...  ";
    static constexpr int kSeparatorLength = 7;

    tcGuiDisplay(const NameString &id, tcBench *bench, int serial);

    void afterLoad() override;
    void draw(QPainter &painter) override;
    void tick() override;
    bool ticking() const override { return m_modeFlag && m_captionText.size() > m_widthChars; }
    void doubleClick(int x, int y) override;
    void setCaption(const QString &text) override;
    void layoutCaption() override;
    bool acceptsLeftClick() const override { return false; }
    bool acceptsRightClick() const override { return false; }
    bool acceptsDoubleClick() const override { return m_editable || m_dclick; }

    void setWidthChars(int n);
    int widthChars() const { return m_widthChars; }
    void setState(int state);
    int state() const { return m_state; }
    QString shownText() const { return m_shown.toQString(); }

    Colours &colours(int state) { return m_colours[state < 0 || state >= kStates ? 0 : state]; }
    void setEditable(bool on) { m_editable = on; }
    bool editable() const { return m_editable; }
    void setDoubleClickable(bool on) { m_dclick = on; }
    void setUnits(const QString &units) { m_units = units; }
    QString units() const { return m_units; }
    void setPattern(const QString &pattern) { m_pattern = pattern; }
    QString pattern() const { return m_pattern; }
    void setCallbacks(GuiNotifyText edited, GuiNotify doubleClicked)
    {
        m_displayEdited = edited;
        m_displayDoubleClicked = doubleClicked;
    }

private:
    void show(const QString &text);
    void resetMarquee();

    Colours m_colours[kStates] = {{0xFF000000u, 0xFFC0C0C0u, false},
                                  {0xFFF00000u, 0xFF000000u, false},
                                  {0xFFF08000u, 0xFF000000u, false},
                                  {0xFF60B0FFu, 0xFF000000u, false}};
    int m_state = kNormal;
    NameString m_shown;
    int m_widthChars = 8;
    int m_marqueeOffset = 0;
    int m_marqueeCycle = kSeparatorLength;
    int m_countdown = 0;
    bool m_editable = false;
    bool m_dclick = false;
    QString m_units;
    QString m_pattern = QStringLiteral("-?\\d*\\.\\d+");
    GuiNotifyText m_displayEdited = nullptr;
    GuiNotify m_displayDoubleClicked = nullptr;
};
