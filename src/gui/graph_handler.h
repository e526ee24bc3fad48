// tcGraphHandler: what a response graph hands its pointer events and drawing layers to. The graph
// editors (draggers) implement it; a graph holds an attached one (used in the controls view) and a
// second slot (the range handler, used otherwise and for presses left of or beyond the plot).
// Positions are relative to the plot's top-left; every pointer operation returns markDirty flags
// (2 redraw the graph's picture, 1 repaint).
#pragma once

class QPainter;

class tcGraphHandler
{
public:
    virtual ~tcGraphHandler() = default;

    virtual void setPlotSize(int, int) {}

    virtual int leftPress(int, int) { return 0; }
    virtual int release(int, int) { return 0; } // after a left press
    virtual int rightPress(int, int) { return 0; }
    virtual int release2(int, int) { return 0; } // after a right press
    virtual int drag(int, int) { return 0; }     // movement since the last drag event
    virtual int hover(int, int) { return 0; }
    virtual int wheel(int) { return 0; } // 3 steps a notch, 10 with Shift
    virtual int doubleClick(int, int) { return 0; }

    // Layers of the graph's picture, the painter at the plot's top-left.
    virtual void drawBackground(QPainter &) {}
    virtual void drawCurves(QPainter &) {}
    virtual void drawOverlay(QPainter &) {}
    // The live layer (handles), drawn over the picture on every repaint.
    virtual void drawSelf(QPainter &) {}
};
