#include "editor/popup_editor.h"

#include "core/instance_lock.h"
#include "core/iparameter.h"
#include "editor/icontrol.h"
#include "raster/draw.h"
#include "raster/raster_bitmap.h"
#include "raster/raster_font.h"
#include "raster/text.h"
#include "raster/utf8.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kFontSize = 14;
constexpr int kFieldHeight = 16;
constexpr int kFieldMinWidth = 32;
constexpr int kFieldCharWidth = 7; // pixels per character of the widest value
constexpr int kListRowHeight = 16;
constexpr int kListCharWidth = 8;
constexpr std::size_t kMaxTextBytes = 1000;

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kHighlight = 0xFF3370CCu;

ITextStyle PopupStyle(std::uint32_t colour)
{
    ITextStyle style;
    style.size = kFontSize;
    style.colour =
        IRGBA{static_cast<std::int32_t>(colour >> 24), static_cast<std::int32_t>((colour >> 16) & 0xFF),
              static_cast<std::int32_t>((colour >> 8) & 0xFF), static_cast<std::int32_t>(colour & 0xFF)};
    return style;
}

std::string DisplayOf(const IParameter& param, double v, bool normalized)
{
    char text[kParamTextSize] = {};
    param.GetDisplay(v, normalized, text, sizeof text);
    return text;
}

bool IsContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offsets where characters of the text start, and its end.
std::vector<std::size_t> CharacterStarts(const std::string& text)
{
    const bool utf8 = LooksLikeUtf8(text);
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!utf8 || !IsContinuationByte(text[i]))
            starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

char32_t CodePointOf(std::string_view piece, bool utf8)
{
    if (!utf8)
        return static_cast<unsigned char>(piece.front());
    const std::u32string points = Utf16ToCodePoints(Utf8ToUtf16(piece));
    return points.empty() ? U'?' : points.front();
}

void DrawFrame(RasterBitmap* bitmap, int w, int h)
{
    FillArea(bitmap, 0, 0, w, h, kBlack, 1.0f, kBlendCopy);
    FillArea(bitmap, 1, 1, w - 2, h - 2, kWhite, 1.0f, kBlendCopy);
}

} // namespace

std::unique_ptr<PopupValueEditor> PopupValueEditor::Make(IControl* control, IParameter* param, int viewWidth,
                                                         int viewHeight)
{
    if (!control || !param)
        return nullptr;
    std::unique_ptr<PopupValueEditor> popup(new PopupValueEditor());
    popup->editedControl = control;
    popup->editedParam = param;
    const IArea& c = control->drawArea();
    const int cx = static_cast<int>((c.L + c.R) * 0.5);
    const int cy = static_cast<int>((c.T + c.B) * 0.5);
    const std::string current = DisplayOf(*param, param->Value(), false);
    const bool choice = param->Kind() == ParameterKind::Enum || param->Kind() == ParameterKind::Integral;
    if (param->GetDisplayTextCount() > 0 && choice) {
        popup->fieldKind = Kind::List;
        popup->layOutList(cx, cy, *param, current.c_str());
    } else {
        popup->fieldText = current;
        popup->caretPos = current.size();
        popup->layOutField(cx, cy, *param);
    }
    popup->keepInside(viewWidth, viewHeight);
    popup->face = CreateMemoryBitmap(popup->place.W(), popup->place.H(), 4);
    if (!popup->face)
        return nullptr;
    popup->redraw();
    return popup;
}

void PopupValueEditor::layOutField(int cx, int cy, const IParameter& param)
{
    const int widest = static_cast<int>(DisplayOf(param, 1.0, true).size());
    const int w = std::max(kFieldMinWidth, kFieldCharWidth * widest + 6);
    place = IArea{cx - w / 2, cy - kFieldHeight / 2, cx - w / 2 + w, cy - kFieldHeight / 2 + kFieldHeight};
}

void PopupValueEditor::layOutList(int cx, int cy, const IParameter& param, const char* current)
{
    double lo = 0.0, hi = 0.0;
    param.GetRange(lo, hi);
    std::size_t longest = 0;
    for (auto v = static_cast<std::int32_t>(std::ceil(lo)); v <= static_cast<std::int32_t>(std::floor(hi));
         ++v) {
        const char* text = param.GetDisplayTextForValue(v);
        if (!text)
            continue;
        if (std::strcmp(text, current) == 0)
            highlight = static_cast<int>(listEntries.size());
        listEntries.emplace_back(text);
        longest = std::max(longest, listEntries.back().size());
    }
    const int w = kListCharWidth * static_cast<int>(longest) + 24;
    const int h = kListRowHeight * static_cast<int>(listEntries.size()) + 2;
    place = IArea{cx - w / 2, cy, cx - w / 2 + w, cy + h};
}

// Moves the pop-up into the view where it would stick out (the panel's edges
// would cut it off); a pop-up larger than the view keeps its top-left corner.
void PopupValueEditor::keepInside(int viewWidth, int viewHeight)
{
    const int dx = std::max(std::min(0, viewWidth - place.R), -place.L);
    const int dy = std::max(std::min(0, viewHeight - place.B), -place.T);
    place = IArea{place.L + dx, place.T + dy, place.R + dx, place.B + dy};
}

std::string PopupValueEditor::committedText() const
{
    if (fieldKind == Kind::TextField)
        return fieldText;
    if (highlight < 0 || highlight >= static_cast<int>(listEntries.size()))
        return {};
    return listEntries[static_cast<std::size_t>(highlight)];
}

void PopupValueEditor::clearSelection()
{
    if (selectAll) {
        selectAll = false;
        changed = true;
    }
}

void PopupValueEditor::typeText(const std::string& typed)
{
    if (fieldKind != Kind::TextField || pending != PopupRequest::Editing)
        return;
    for (const char c : typed) {
        if (c < 0x20 || c > 0x7E)
            continue;
        if (selectAll) {
            fieldText.clear();
            caretPos = 0;
            selectAll = false;
        }
        if (fieldText.size() >= kMaxTextBytes)
            break;
        fieldText.insert(caretPos, 1, c);
        ++caretPos;
        changed = true;
    }
}

void PopupValueEditor::pressKey(PopupKey key)
{
    if (pending != PopupRequest::Editing)
        return;
    if (key == PopupKey::Return) {
        clearSelection();
        pending = PopupRequest::Commit;
        return;
    }
    if (key == PopupKey::Escape) {
        pending = PopupRequest::Cancel;
        return;
    }
    if (fieldKind == Kind::List) {
        const int last = static_cast<int>(listEntries.size()) - 1;
        if (key == PopupKey::Up && highlight > 0)
            --highlight;
        else if (key == PopupKey::Down && highlight < last)
            ++highlight;
        else
            return;
        changed = true;
        return;
    }
    const std::vector<std::size_t> starts = CharacterStarts(fieldText);
    const auto at = std::lower_bound(starts.begin(), starts.end(), caretPos);
    const std::size_t index = static_cast<std::size_t>(at - starts.begin());
    if (selectAll && (key == PopupKey::Backspace || key == PopupKey::Delete)) {
        fieldText.clear();
        caretPos = 0;
    } else if (key == PopupKey::Backspace && index > 0) {
        fieldText.erase(starts[index - 1], caretPos - starts[index - 1]);
        caretPos = starts[index - 1];
    } else if (key == PopupKey::Delete && index + 1 < starts.size()) {
        fieldText.erase(caretPos, starts[index + 1] - caretPos);
    } else if (key == PopupKey::Left) {
        caretPos = selectAll ? 0 : starts[index > 0 ? index - 1 : 0];
    } else if (key == PopupKey::Right) {
        caretPos = selectAll ? fieldText.size() : starts[std::min(index + 1, starts.size() - 1)];
    } else if (key == PopupKey::Home) {
        caretPos = 0;
    } else if (key == PopupKey::End) {
        caretPos = fieldText.size();
    }
    selectAll = false;
    changed = true;
}

void PopupValueEditor::clickAt(int x, int y)
{
    if (pending != PopupRequest::Editing || !contains(x, y))
        return;
    if (fieldKind == Kind::List) {
        const int row = (y - place.T - 1) / kListRowHeight;
        if (row >= 0 && row < static_cast<int>(listEntries.size())) {
            highlight = row;
            changed = true;
            pending = PopupRequest::Commit;
        }
        return;
    }
    // The caret goes to the character edge nearest the click.
    const std::vector<int> edges = characterEdges();
    const std::vector<std::size_t> starts = CharacterStarts(fieldText);
    const int local = x - place.L - textLeft(edges);
    std::size_t best = 0;
    for (std::size_t i = 1; i < edges.size(); ++i)
        if (std::abs(edges[i] - local) < std::abs(edges[best] - local))
            best = i;
    caretPos = starts[best];
    selectAll = false;
    changed = true;
}

std::vector<int> PopupValueEditor::characterEdges() const
{
    const std::vector<std::size_t> starts = CharacterStarts(fieldText);
    std::vector<int> edges(starts.size(), 0);
    const ITextStyle style = PopupStyle(kBlack);
    const bool utf8 = LooksLikeUtf8(fieldText);
    LockGuard guard(FontCacheLock());
    RasterFont* font = FindOrCreateFont(style);
    std::int64_t pen = 0;
    for (std::size_t i = 0; i + 1 < starts.size(); ++i) {
        const std::string_view piece(fieldText.data() + starts[i], starts[i + 1] - starts[i]);
        if (const Glyph* g = font ? font->GlyphFor(CodePointOf(piece, utf8)) : nullptr)
            pen += g->advanceX;
        edges[i + 1] = static_cast<int>((pen + 32) >> 6);
    }
    return edges;
}

// The text is centred in the field while it fits, else it starts at the left.
int PopupValueEditor::textLeft(const std::vector<int>& edges) const
{
    return std::max(2, (place.W() - edges.back()) / 2);
}

bool PopupValueEditor::redraw()
{
    if (!changed || !face)
        return false;
    changed = false;
    if (fieldKind == Kind::TextField)
        drawField();
    else
        drawList();
    return true;
}

void PopupValueEditor::drawField()
{
    const int w = place.W();
    const int h = place.H();
    DrawFrame(face.get(), w, h);
    const std::vector<int> edges = characterEdges();
    const int left = textLeft(edges);
    const int top = (h - kFontSize) / 2;
    ITextStyle style = PopupStyle(selectAll ? kWhite : kBlack);
    if (selectAll && !fieldText.empty())
        FillArea(face.get(), left, 2, edges.back(), h - 4, kHighlight, 1.0f, kBlendCopy);
    DrawTextInRect(face.get(), &style, fieldText.c_str(), RasterRect{left, top, w - 2, top + kFontSize});
    if (!selectAll) {
        const std::vector<std::size_t> starts = CharacterStarts(fieldText);
        const auto at = std::lower_bound(starts.begin(), starts.end(), caretPos);
        const int x = left + edges[static_cast<std::size_t>(at - starts.begin())];
        FillArea(face.get(), std::min(x, w - 2), 2, 1, h - 4, kBlack, 1.0f, kBlendCopy);
    }
}

void PopupValueEditor::drawList()
{
    const int w = place.W();
    DrawFrame(face.get(), w, place.H());
    for (int row = 0; row < static_cast<int>(listEntries.size()); ++row) {
        const int top = 1 + row * kListRowHeight;
        const bool lit = row == highlight;
        if (lit)
            FillArea(face.get(), 1, top, w - 2, kListRowHeight, kHighlight, 1.0f, kBlendCopy);
        ITextStyle style = PopupStyle(lit ? kWhite : kBlack);
        DrawTextInRect(face.get(), &style, listEntries[static_cast<std::size_t>(row)].c_str(),
                       RasterRect{4, top + 1, w - 2, top + 1 + kFontSize});
    }
}
