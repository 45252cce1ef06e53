#include "tools/render/program_lookup.h"

#include "tools/render/text_folding.h"

#include <charconv>

namespace render {

namespace {

constexpr std::size_t kListedMatches = 12;

std::string ListMatches(const std::vector<std::string>& names, const std::vector<int>& slots)
{
    std::string text;
    for (std::size_t i = 0; i < slots.size() && i < kListedMatches; ++i)
        text += "\n  " + std::to_string(slots[i]) + "  " + names[static_cast<std::size_t>(slots[i])];
    if (slots.size() > kListedMatches)
        text += "\n  ... and " + std::to_string(slots.size() - kListedMatches) + " more";
    return text;
}

} // namespace

int FindProgram(const std::vector<std::string>& names, const std::string& key, std::string& error)
{
    const std::string wanted = Trim(key);
    const int count = static_cast<int>(names.size());
    if (wanted.empty()) {
        error = "--program needs a slot number or a piece of a program name";
        return -1;
    }
    if (IsDigits(wanted)) {
        int slot = -1;
        const auto result = std::from_chars(wanted.data(), wanted.data() + wanted.size(), slot);
        if (result.ec != std::errc() || slot >= count) {
            error = "program slot " + wanted + " does not exist (the slots are 0 to " +
                    std::to_string(count - 1) + ")";
            return -1;
        }
        return slot;
    }
    const std::string folded = FoldLookalikes(wanted);
    std::vector<int> exact;
    std::vector<int> partial;
    for (int slot = 0; slot < count; ++slot) {
        const std::string name = FoldLookalikes(Trim(names[static_cast<std::size_t>(slot)]));
        if (name == folded)
            exact.push_back(slot);
        if (name.find(folded) != std::string::npos)
            partial.push_back(slot);
    }
    if (exact.size() == 1)
        return exact.front();
    if (partial.size() == 1)
        return partial.front();
    if (partial.empty()) {
        error = "no program name contains \"" + wanted + "\" (--list-programs shows them)";
        return -1;
    }
    error = "\"" + wanted + "\" matches " + std::to_string(partial.size()) +
            " programs; give the slot number or more of the name:" + ListMatches(names, partial);
    return -1;
}

} // namespace render
