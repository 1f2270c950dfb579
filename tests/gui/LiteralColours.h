// The colours users see, as literal values: the tests check the windows against these,
// not against the program's own palette.
#pragma once

#include <QColor>

namespace colours {
const QColor kChange(0xEF, 0xEF, 0xEF);
const QColor kCurrentChange(0xC0, 0xC0, 0xC0);
const QColor kChanged(0xFF, 0x00, 0x00);
const QColor kOnlyInMaster(0x00, 0x00, 0xFF);
const QColor kOnlyInSource(0x00, 0x80, 0x00);
const QColor kNumberOfDifference(0xFF, 0xFF, 0xFF);
const QColor kNumberOfSameLine(0xC0, 0xC0, 0xC0);
}  // namespace colours
