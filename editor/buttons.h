#pragma once
// Buttons that show their lit face while on and let the background show the
// released look while off: IButton toggles, IButtonClick toggles after raising
// a plug-in flag, IButtonHold is on exactly while held.

#include "editor/icontrol.h"

class IButton : public IControl {
public:
    IButton(IPlugBase* plug, int paramIndex, int x, int y, const IImageStrip& strip);

    void onPress(int x, int y, const MouseState& mouse) override;
    bool paint(IEditorView& view) override;

protected:
    IImageStrip strip;
};

class IButtonClick : public IButton {
public:
    // clickFlag: a plug-in-owned flag raised on every press, before the value
    // reaches the plug-in.
    IButtonClick(IPlugBase* plug, int paramIndex, int x, int y, const IImageStrip& strip, bool* clickFlag);

    void onPress(int x, int y, const MouseState& mouse) override;

private:
    bool* clickFlag;
};

class IButtonHold : public IButton {
public:
    using IButton::IButton;

    void onPress(int x, int y, const MouseState& mouse) override;
    void onRelease(int x, int y, const MouseState& mouse) override;
};
