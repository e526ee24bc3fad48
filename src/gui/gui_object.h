// tcGuiObject: base of every skinned control and indicator. Not a widget: a rectangle in skin
// coordinates with a caption, colours and state, drawn by its bench and fed with the bench's
// pointer dispatch. It carries what a control panel binds: the type code, the control id and the
// context its callbacks report to. The bench owns its objects; pictures are image objects of the
// same bench (never owned by their users).
#pragma once

#include "skin/bench.h"
#include "skin/skin_values.h"

#include <QFont>
#include <QRgb>
#include <QString>
#include <QStringList>

class QWidget;
struct SkinFont;

enum GuiTypeCode : int {
    kGuiButton = 3,
    kGuiLamp = 4,
    kGuiCheckBox = 5,
    kGuiDisplay = 6,
    kGuiKnob = 7,
    kGuiSlider = 8,
    kGuiCombo = 9,
    kGuiListbox = 10,
    kGuiRadioGroup = 11,
    kGuiRadioItem = 12,
    kGuiMeter = 13,
    kGuiApGraph = 14,
    kGuiDynGraph = 15,
    kGuiLabel = 16,
    kGuiImage = 17,
};

class tcGuiImage;

class tcGuiObject : public tcBenchObject
{
public:
    static constexpr int kDisabledLook = 2;

    tcGuiObject(const NameString &id, tcBench *bench, int serial, int typeCode);
    ~tcGuiObject() override;
    tcGuiObject(const tcGuiObject &) = delete;
    tcGuiObject &operator=(const tcGuiObject &) = delete;

    // The object of that id (and type code, when one is given) on the bench, or none.
    static tcGuiObject *find(const tcBench *bench, const NameString &id, int typeCode = 0);

    const NameString &id() const override { return m_id; }
    int typeCode() const override { return m_typeCode; }
    int serial() const override { return m_serial; }
    QRect area() const override { return m_area; }

    virtual tcGuiObject *parentGroup() const { return nullptr; }
    virtual int parentType() const { return 2; }
    virtual QWidget *hostWidget() const { return m_host; }
    void afterLoad() override;
    virtual void setVisible(bool visible);
    virtual void hide();
    virtual void setCaption(const QString &text);
    virtual void setX(int v) { m_x = v; }
    virtual void setY(int v) { m_y = v; }
    virtual void setHeight(int v) { m_height = v; }
    virtual void setWidth(int v) { m_width = v; }
    virtual void setTextX(int v) { m_textX = v; }
    virtual void setTextY(int v) { m_textY = v; }
    bool contains(int x, int y) const override;
    bool intersects(const QRect &rect) const override;
    bool leftPress(int x, int y) override;
    void release(int x, int y) override;
    bool rightPress(int x, int y) override;
    void drag(int x, int y, int modifiers) override;
    void hover(int x, int y, int modifiers) override;
    void wheel(int step, int modifiers) override;
    void doubleClick(int x, int y) override;
    bool acceptsLeftClick() const override { return true; }
    bool acceptsRightClick() const override { return false; }
    bool acceptsWheel() const override { return false; }
    bool acceptsDoubleClick() const override { return false; }
    bool tracksHover() const override { return false; }
    virtual bool singleClickActs() const { return m_singleClick; }
    virtual int minimum() const { return m_minimum; }
    virtual int maximum() const { return m_maximum; }
    virtual void setModeFlag(bool on) { m_modeFlag = on; }
    void tick() override {}
    void draw(QPainter &) override {}
    // Both use the object's alignment, so the measured rectangle covers the drawn text.
    virtual void layoutCaption();
    virtual void drawCaption(QPainter &painter, int offset = 0);

    // Non-virtual state and accessors.
    void setDisabledState(int bits);
    int disabledState() const { return m_disabled; }
    bool disabledLook() const { return (m_disabled & kDisabledLook) != 0 || m_lockedLook; }
    // The locked surface: the disabled look, but presses still reach the access question so the
    // user can unlock from any control.
    void setLockedLook(bool locked);
    bool lockedLook() const { return m_lockedLook; }
    void invalidate(int flags = 0);
    void setFont(const SkinFont *font);
    const SkinFont *fontRecord() const { return m_fontRecord; }
    // The caption font, or the bench's header font for an object without one.
    QFont captionFont() const;
    int lineStep() const;

    int controlId() const { return m_controlId; }
    void setControlId(int id) { m_controlId = id; }
    void *callbackContext() const { return m_context; }
    void setCallbackContext(void *context) { m_context = context; }
    void setHostWidget(QWidget *host) { m_host = host; }
    tcBench *bench() const { return m_bench; }

    bool isVisible() const { return m_visible; }
    bool isHighlighted() const { return m_highlighted; }
    bool modeFlag() const { return m_modeFlag; }
    int x() const { return m_x; }
    int y() const { return m_y; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int textX() const { return m_textX; }
    int textY() const { return m_textY; }
    QRect captionRect() const { return m_captionRect; }
    QString caption() const { return m_captionText; }
    // The loader's direct store, without a repaint.
    void setCaptionText(const char *text) { storeCaption(NameString(text)); }
    QRgb captionColour() const { return m_captionColour; }
    void setCaptionColour(QRgb c) { m_captionColour = c; }
    int alignment() const { return m_alignment; }
    void setAlignment(int a);
    void setRange(int minimum, int maximum);
    void setSingleClick(bool on) { m_singleClick = on; }

    // Section of a two-state picture: 0 off or 3 on, plus 2 pressed, else plus 1 highlighted; in
    // the disabled look 1 when highlighted, else 0.
    static int twoStateSection(bool on, bool pressed, bool highlighted, bool disabledLook)
    {
        if (disabledLook)
            return highlighted ? 1 : 0;
        return (on ? 3 : 0) + (pressed ? 2 : (highlighted ? 1 : 0));
    }

    // The font angle as drawn: 0, 90 and -90 stay, others keep their remainder of 90.
    static int normalisedAngle(int angle);

protected:
    // The common end of afterLoad: default font, size from the picture, area, caption, loaded.
    void finishLoad(tcGuiImage *picture);
    void useDefaultFont(const char *name = "VORUD_HFONT");
    // Keeps the caption with its text and lines ready for painting.
    void storeCaption(const NameString &name);
    void updateArea();
    // True when the user's input must be refused: disabled or locked by the bench.
    bool refusesInput() const;
    // Shown and enabled: what a control needs to hold the keyboard focus. A locked control keeps
    // it, so a key step reaches the access question as a press does.
    bool focusable() const { return m_visible && m_loaded && m_disabled == 0 && m_controlId >= 0; }
    // A press and release at the centre, for the keys of a clickable control.
    bool clickAtCentre();
    // Asks the bench for ticks when the object now needs them.
    void startTicking()
    {
        if (m_bench && ticking())
            m_bench->wantTicks();
    }

    bool m_loaded = false;
    bool m_visible = false;
    bool m_captionStale = false; // caption changed while hidden, laid out when shown
    int m_typeCode;
    tcBench *m_bench;
    bool m_modeFlag = false;
    int m_disabled = 0;
    bool m_lockedLook = false;
    NameString m_id;
    QWidget *m_host = nullptr;
    int m_serial;
    int m_x = 0, m_y = 0;
    int m_height = 100, m_width = 50;
    QRect m_area{QPoint(0, 0), QPoint(49, 99)};
    QRect m_captionRect{QPoint(0, 0), QPoint(49, 99)};
    int m_lastX = 0, m_lastY = 0;
    bool m_highlighted = false;
    bool m_flag2 = false;
    bool m_singleClick = true;
    QRgb m_background = 0xFF000000u;
    QRgb m_frame = 0xFFC0C0C0u;
    QRgb m_captionColour = 0xFF000000u;
    const SkinFont *m_fontRecord = nullptr;
    QFont m_font;
    NameString m_caption;
    QString m_captionText;
    QStringList m_captionLines;
    int m_textX = 10, m_textY = 10;
    int m_alignment = orba::skin::kAlignTopLeft;
    int m_minimum = 0, m_maximum = 255;
    int m_controlId = -1;
    void *m_context = nullptr;
};
