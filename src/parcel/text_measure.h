// How wide a text comes out in the sans-serif fonts drawings are shown with
// (DejaVu Sans, Arial, Liberation Sans): an estimate on the wide side, by
// the character's kind, so that boxes laid out by it hold the text.
#pragma once

#include <string_view>

namespace geocalc {

// In millimetres, for a UTF-8 text at `size` mm.
double textWidth(std::string_view utf8, double size, bool bold = false);

}  // namespace geocalc
