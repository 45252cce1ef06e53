#pragma once
// What the core and the binding need of an attached editor view. The editor
// implements it; the instance owns the editor through this interface and
// destroys it while the whole instance still exists. UI thread unless noted.

class EditorLink {
public:
    virtual ~EditorLink() = default;

    // A parameter's value changed outside the editor (host, state, program).
    // Any thread, instance lock held: only stores values and sets flags.
    virtual void UpdateControlsForParameter(int index, double value, bool isNormalized) = 0;
    // The engine changed a parameter on its own initiative: controls bound to
    // it take the value as if the user had set it, and push it on.
    virtual void paramChangedFromUser(int index, double normalized) = 0;
    // Hides or shows every control bound to the parameter.
    virtual void hideBoundControls(int index, bool hide) = 0;
    // Makes the off-screen canvas when the core adopts the editor; false when
    // it cannot be had.
    virtual bool createCanvas() = 0;
    // Opens the editor window in the host's parent window; the window, or null.
    virtual void* openWindow(void* parent) = 0;
    // Closes the window if one is open; a pending wheel edit ends first.
    virtual void closeWindow() = 0;
    // Wheel movement the host sends through the binding; true when taken.
    virtual bool wheelFromHost(float delta) = 0;
    // Arms (ticks > 0) or clears the countdown after which the core's pending
    // wheel edit ends.
    virtual void armEndEditCountdown(int ticks) = 0;
    virtual void clearEndEditCountdown() = 0;
    // The host's editor-idle request, on its UI thread and without the
    // instance lock: a window that the host does not drive by itself drains
    // its events and runs its timer here. Nothing by default.
    virtual void idleFromHost() {}
    virtual int FrameRate() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};
