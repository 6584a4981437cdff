#pragma once
// The scan label under the symbol: the scan check's verdict in the window's
// words, green when the symbol scans, red with the reason and what helps when
// it does not.

#include <QComboBox>
#include <QLabel>

#include "verify/scan_check.h"

namespace qrsmith::app {

// The colours of the two verdicts.
inline constexpr QRgb kScannableColour = 0x008000;
inline constexpr QRgb kUnscannableColour = 0xC00000;

// Shows `verdict` on `label` (hidden when nothing could be checked);
// `levelList` names the error correction levels the advice may suggest.
void ShowScanVerdict(QLabel& label, verify::ScanVerdict verdict, const QComboBox& levelList);

}  // namespace qrsmith::app
