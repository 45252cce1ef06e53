#pragma once
// What the core and the binding need of an attached editor view. The editor
// implements it; the instance owns the editor through this interface and
// destroys it with itself. UI thread unless noted.

class EditorLink {
public:
    virtual ~EditorLink() = default;

    // A parameter's value changed outside the editor (host, state, program).
    virtual void UpdateControlsForParameter(int index, double value, bool isNormalized) = 0;
    // The engine changed a parameter on its own initiative: controls bound to it
    // take the value as if the user had set it.
    virtual void ParamChangedFromUser(int index, double normalized) = 0;
    virtual void HideBoundControls(int index, bool hide) = 0;
    virtual void CreateSurfaces() = 0;
    virtual bool OpenWindow(void* parent) = 0;
    virtual void CloseWindow() = 0;
    virtual int OnWheel(float delta) = 0;
    virtual void ArmEditCountdown(int ticks) = 0;
    virtual void ClearEditCountdown() = 0;
    virtual int FrameRate() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};
