#pragma once
// The scan label under the symbol: the scan grade's letter in the window's
// words, with the parameter that limits it and the advice that fits its
// cause (contrast, inversion, the centre icon, the drawn size): green when
// the symbol grades C or better, red below.

#include <QComboBox>
#include <QLabel>
#include <optional>

#include <qrsmith/verify/scan_check.h>

namespace qrsmith::app {

// The colours of grades that pass (C or better) and grades that fail.
inline constexpr QRgb kScannableColour = 0x008000;
inline constexpr QRgb kUnscannableColour = 0xC00000;

// Shows `grade` on `label` (hidden when nothing could be graded);
// `levelList` names the error correction levels the advice may suggest.
void ShowScanVerdict(QLabel& label, const std::optional<verify::ScanGrade>& grade,
                     const QComboBox& levelList);
// Says on `label`, in the text's own colour, that the symbol is being checked.
void ShowScanChecking(QLabel& label);

}  // namespace qrsmith::app
