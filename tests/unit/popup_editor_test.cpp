#include "core/iparameter.h"
#include "editor/icontrol.h"
#include "editor/popup_editor.h"
#include "raster/raster_bitmap.h"

#include <gtest/gtest.h>

namespace {

class PlainControl : public IControl {
public:
    explicit PlainControl(const IArea& area) : IControl(nullptr, area, -1) {}
    bool paint(IEditorView&) override { return true; }
};

IParameter Frequency(double value)
{
    IParameter p;
    p.DefineReal("Base Freq", 200.0, 20.0, 2000.0, 0.01, "Hz");
    p.SetClamped(value);
    return p;
}

IParameter Target(int value)
{
    IParameter p;
    p.DefineChoice("LFO1 Target", 0, 3, "");
    p.AddDisplayText(0, "Off");
    p.AddDisplayText(1, "Pitch");
    p.AddDisplayText(2, "Pan");
    p.SetClamped(value);
    return p;
}

} // namespace

TEST(PopupValueEditor, TextFieldEditsOneLineAndCommitsOnReturn)
{
    PlainControl knob(IArea{20, 101, 78, 179});
    IParameter freq = Frequency(200.0);
    auto popup = PopupValueEditor::Make(&knob, &freq, 550, 365);
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->kind(), PopupValueEditor::Kind::TextField);
    EXPECT_TRUE(popup->allSelected());
    // Width from the widest value's text, centred on the control, 16 high.
    char widest[32];
    freq.GetDisplay(1.0, true, widest, sizeof widest);
    const int w = std::max(32, 7 * static_cast<int>(std::string(widest).size()) + 6);
    EXPECT_EQ(popup->area(), (IArea{49 - w / 2, 132, 49 - w / 2 + w, 148}));

    popup->typeText("432"); // replaces the selected text
    EXPECT_EQ(popup->text(), "432");
    popup->pressKey(PopupKey::Left);
    popup->pressKey(PopupKey::Backspace);
    EXPECT_EQ(popup->text(), "42");
    popup->pressKey(PopupKey::Home);
    popup->pressKey(PopupKey::Delete);
    popup->typeText("9\x01");
    EXPECT_EQ(popup->text(), "92");
    EXPECT_EQ(popup->caret(), 1u);
    EXPECT_EQ(popup->request(), PopupRequest::Editing);
    popup->pressKey(PopupKey::Return);
    EXPECT_EQ(popup->request(), PopupRequest::Commit);
    popup->typeText("7"); // nothing changes once decided
    EXPECT_EQ(popup->committedText(), "92");
}

TEST(PopupValueEditor, ClicksPlaceTheCaretAndTheFieldRedrawsOnlyOnChange)
{
    PlainControl knob(IArea{20, 101, 78, 179});
    IParameter freq = Frequency(432.0);
    auto popup = PopupValueEditor::Make(&knob, &freq, 550, 365);
    ASSERT_TRUE(popup);
    EXPECT_FALSE(popup->redraw());
    const IArea a = popup->area();
    popup->clickAt(a.L + 1, a.T + 8); // left of the text: caret at the start
    EXPECT_FALSE(popup->allSelected());
    EXPECT_EQ(popup->caret(), 0u);
    popup->clickAt(a.R - 1, a.T + 8);
    EXPECT_EQ(popup->caret(), popup->text().size());
    EXPECT_TRUE(popup->redraw());
    popup->cancel();
    EXPECT_EQ(popup->request(), PopupRequest::Cancel);
}

TEST(PopupValueEditor, ListShowsTheTextsAndAClickPicks)
{
    PlainControl dropDown(IArea{530, 300, 550, 360}); // at the panel's corner
    IParameter target = Target(1);
    auto popup = PopupValueEditor::Make(&dropDown, &target, 550, 365);
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->kind(), PopupValueEditor::Kind::List);
    EXPECT_EQ(popup->entries(), (std::vector<std::string>{"Off", "Pitch", "Pan"}));
    EXPECT_EQ(popup->highlighted(), 1);
    // 8 pixels per character of the longest text plus 24; kept inside the view.
    const IArea a = popup->area();
    EXPECT_EQ(a.W(), 8 * 5 + 24);
    EXPECT_EQ(a.H(), 3 * 16 + 2);
    EXPECT_EQ(a.R, 550);
    EXPECT_EQ(a.B, 365);
    popup->pressKey(PopupKey::Down);
    EXPECT_EQ(popup->committedText(), "Pan");
    popup->clickAt(a.L + 5, a.T + 1 + 4); // the first row
    EXPECT_EQ(popup->request(), PopupRequest::Commit);
    EXPECT_EQ(popup->committedText(), "Off");
}
