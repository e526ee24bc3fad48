// tcGuiCombo: a one-line choice with an arrow picture at its right edge. "DROP" opens a drop list
// (tcComboPopup); "ROLL" steps through its items with the two arrow zones; "USER" only reports the
// steps, which the panel applies. Holding an arrow with auto-roll (the mode flag) repeats
// accelerating steps on the bench's tick. An editable combo takes typed values like the display.
#pragma once

#include "gui/gui_callbacks.h"
#include "gui/gui_object.h"
#include "gui/list_colours.h"

#include <QStringList>

#include <memory>

class tcComboPopup;

class tcGuiCombo : public tcGuiObject
{
public:
    enum Type : int { kDrop = 0, kRoll = 1, kUser = 2 };

    tcGuiCombo(const NameString &id, tcBench *bench, int serial);
    ~tcGuiCombo() override;

    void afterLoad() override;
    void draw(QPainter &painter) override;
    bool leftPress(int x, int y) override;
    void release(int x, int y) override;
    void hover(int x, int y, int modifiers) override;
    void tick() override;
    bool ticking() const override { return m_pressed && m_modeFlag && (m_type == kRoll || m_type == kUser); }
    void doubleClick(int x, int y) override;
    bool acceptsDoubleClick() const override { return m_editable || m_dclick; }
    bool tracksHover() const override { return true; }
    bool acceptsFocus() const override { return focusable(); }
    // Up steps to the next entry (the parameter's next index: a higher value), down to the previous
    // one, whichever way the arrow picture is set; Shift steps five entries (as a held arrow does),
    // Ctrl one.
    bool keyStep(int step, int modifiers) override;
    void setTextX(int v) override;
    void setTextY(int v) override;

    void setItems(const QStringList &items);
    const QStringList &items() const { return m_items; }
    void setIndex(int index, bool notify);
    int index() const { return m_index; }
    void setUserText(const QString &text);
    QString userText() const { return m_userText; }
    // The arrow picture's section: 0 rest, 1 upper zone, 2 lower zone, plus 2 while pressed.
    int arrowSection() const;

    void setType(int type) { m_type = type; }
    int type() const { return m_type; }
    void setRows(int rows) { m_rows = rows; }
    int rows() const { return m_rows; }
    void setReverse(bool on) { m_reverse = on; }
    void setEditable(bool on) { m_editable = on; }
    void setDoubleClickable(bool on) { m_dclick = on; }
    void setUnits(const QString &units) { m_units = units; }
    QString units() const { return m_units; }
    void setPattern(const QString &pattern) { m_pattern = pattern; }
    QString pattern() const { return m_pattern; }
    void setListFont(const SkinFont *font) { m_listFont = font; }
    QFont listFont() const;
    GuiListColours &colours() { return m_colours; }
    const GuiListColours &colours() const { return m_colours; }
    void setPicture(tcGuiImage *picture) { m_picture = picture; }
    int zoneWidth() const { return m_zoneWidth; }
    bool pressed() const { return m_pressed; }
    tcComboPopup *popup() const { return m_popup.get(); }
    void setCallbacks(GuiNotifyInt changed, GuiNotifyText edited, GuiNotify doubleClicked)
    {
        m_comboChanged = changed;
        m_comboEdited = edited;
        m_comboDoubleClicked = doubleClicked;
    }

private:
    // 1 upper arrow zone, 2 lower, 0 elsewhere.
    int zoneAt(int x, int y) const;
    int stepSign() const;
    void report(int value);
    // One step of the arrows: a roll combo moves its index, a user combo reports the step.
    void roll(int step);
    void openPopup();

    QStringList m_items;
    int m_index = 0;
    int m_type = kUser;
    int m_rows = 4;
    const SkinFont *m_listFont = nullptr;
    int m_zoneWidth = 0;
    bool m_pressed = false;
    bool m_upper = false, m_lower = false;
    bool m_reverse = false;
    int m_rollCount = 0;
    bool m_editable = false, m_dclick = false;
    QString m_units;
    QString m_pattern = QStringLiteral("-?\\d*\\.\\d+");
    QString m_userText;
    bool m_textXSet = false, m_textYSet = false;
    GuiListColours m_colours;
    tcGuiImage *m_picture = nullptr;
    GuiNotifyInt m_comboChanged = nullptr;
    GuiNotifyText m_comboEdited = nullptr;
    GuiNotify m_comboDoubleClicked = nullptr;
    std::unique_ptr<tcComboPopup> m_popup;
};
