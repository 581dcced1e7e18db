#pragma once

// The character tables of one-pixel cells: two characters per pixel, by level 0 (darkest)
// to 4 (lightest). "&nbsp;" stands for a blank in the first position.

#include <array>
#include <string_view>

namespace stipplor {

using EntryTable = std::array<std::string_view, 5>;

inline constexpr EntryTable kPlainPattern = {"II", "I.", "I ", ". ", "&nbsp; "};
inline constexpr EntryTable kDottedEven = {"II", "I'", ".'", ". ", "&nbsp; "};
inline constexpr EntryTable kDottedOdd = {"II", "I.", "'.", "' ", "&nbsp; "};
inline constexpr std::array<EntryTable, 4> kFractal = {{
    {"II", "I.", "I ", "' ", "&nbsp; "},
    {"II", "'I", "''", "' ", "&nbsp; "},
    {"II", "'I", "&nbsp;I", "&nbsp;.", "&nbsp; "},
    {"II", "I.", "..", "&nbsp;.", "&nbsp; "},
}};

// Level of a clamped brightness 0..1530: 0 for 0..307, ..., 4 for 1232..1530.
inline int BrightnessLevel(int b) { return b / 308; }

}  // namespace stipplor
