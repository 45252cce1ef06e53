// The view's mouse and key entry points: hit testing, capture, and the begin
// and end of the host's edit gestures. Every begin-edit the host hears from a
// press is matched by exactly one end-edit.

#include "core/iplug_base.h"
#include "editor/editor_view.h"
#include "editor/icontrol.h"

int IEditorView::controlAt(int x, int y) const
{
    if (capturedIndex >= 0 && capturedIndex < controlCount())
        return capturedIndex;
    for (int i = controlCount() - 1; i >= 0; --i) {
        const IControl& c = *controls[static_cast<std::size_t>(i)];
        if (!c.isHidden() && !c.isGreyed() && c.contains(x, y))
            return i;
    }
    return -1;
}

void IEditorView::releaseCapture()
{
    capturedIndex = -1;
    lastX = -1;
    lastY = -1;
}

void IEditorView::endGesture()
{
    LockGuard guard(plug->Lock());
    releaseCapture();
    if (gestureParam >= 0) {
        const int index = gestureParam;
        gestureParam = -1;
        plug->EndParamEdit(index);
    }
}

void IEditorView::beginGestureEdit(const IControl& c)
{
    if (gestureParam >= 0) {
        const int index = gestureParam;
        gestureParam = -1;
        plug->EndParamEdit(index);
    }
    if (c.paramIndex() >= 0) {
        gestureParam = c.paramIndex();
        plug->BeginParamEdit(gestureParam);
    }
}

void IEditorView::pressAt(int x, int y, const MouseState& mouse)
{
    LockGuard guard(plug->Lock());
    releaseCapture();
    const int hit = controlAt(x, y);
    if (hit < 0)
        return;
    capturedIndex = hit;
    lastX = x;
    lastY = y;
    IControl* c = control(hit);
    beginGestureEdit(*c);
    c->onPress(x, y, mouse);
}

void IEditorView::releaseAt(int x, int y, const MouseState& mouse)
{
    LockGuard guard(plug->Lock());
    // A release that follows no press (or a double click) belongs to no gesture.
    const bool inGesture = capturedIndex >= 0 || gestureParam >= 0;
    const int hit = controlAt(x, y);
    releaseCapture();
    if (!inGesture)
        return;
    if (IControl* c = control(hit))
        c->onRelease(x, y, mouse);
    endGesture();
}

void IEditorView::dragTo(int x, int y, const MouseState& mouse)
{
    LockGuard guard(plug->Lock());
    IControl* c = control(capturedIndex);
    if (!c || (x == lastX && y == lastY))
        return;
    const int dx = x - lastX;
    const int dy = y - lastY;
    lastX = x;
    lastY = y;
    c->onDrag(x, y, dx, dy, mouse);
}

bool IEditorView::doubleClickAt(int x, int y, const MouseState& mouse)
{
    LockGuard guard(plug->Lock());
    releaseCapture();
    const int hit = controlAt(x, y);
    IControl* c = control(hit);
    if (!c)
        return false;
    beginGestureEdit(*c);
    if (!c->doubleClickActsAsPress()) {
        // The release that follows the double click ends the edit.
        c->onDoubleClick(x, y, mouse);
        return false;
    }
    capturedIndex = hit;
    lastX = x;
    lastY = y;
    c->onPress(x, y, mouse);
    return true;
}

void IEditorView::wheelAt(int x, int y, const MouseState& mouse, int delta)
{
    LockGuard guard(plug->Lock());
    IControl* c = control(controlAt(x, y));
    if (!c)
        return;
    const int index = c->paramIndex();
    if (index >= 0)
        plug->BeginParamEditUnlessPending(index);
    c->onWheel(x, y, mouse, delta);
    if (index >= 0)
        plug->DeferParamEditEnd(index);
}

void IEditorView::keyAt(int x, int y, int key)
{
    LockGuard guard(plug->Lock());
    if (IControl* c = control(controlAt(x, y)))
        c->onKey(x, y, key);
}
