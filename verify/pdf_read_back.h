#pragma once
// Reading a PDF page of ours back: the dark modules its one fill paints.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace qrsmith::verify {

// The dark (1) and light (0) positions of a width x height grid that a PDF
// page of ours fills: the rectangles of its last fill of rectangles, in module units
// (a mark drawn over them as other paths is left to the grade).
// nullopt when the page holds no such fill or a rectangle leaves the grid.
std::optional<std::vector<std::uint8_t>> PdfDarkGrid(std::string_view pdf, std::int32_t width,
                                                     std::int32_t height);

// The real number at text[at] (after any spaces), moving `at` past it;
// nullopt for none.
std::optional<double> NumberAt(std::string_view text, std::size_t& at);

}  // namespace qrsmith::verify
