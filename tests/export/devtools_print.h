#pragma once
// Printing a page in headless Chromium as a user's print dialog does with its
// default settings (backgrounds off), through the DevTools protocol over a
// pipe: the command line's --print-to-pdf prints backgrounds, so it cannot
// show a page whose content is made of background colours.

#include <filesystem>
#include <string>

namespace qrsmith::testing {

// Loads `url` and writes the printed PDF to `pdf`; false, with `error` set,
// when Chromium cannot be started or does not answer within a minute.
bool PrintWithoutBackgrounds(const std::string& url, const std::filesystem::path& pdf,
                             std::string& error);

}  // namespace qrsmith::testing
