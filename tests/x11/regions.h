// Comparing window regions as sets of pixels, for tests only. Two regions
// built from different rectangle lists are equal when they cover the same
// pixels, whatever their rectangles.
#pragma once

#include <QRegion>

#include <string>

namespace zentaro::x11test {

bool samePixels(const QRegion& a, const QRegion& b);

/// "n rects, bounds (x,y wxh): [x,y wxh] ..." for failure messages; long
/// lists are cut short.
std::string describe(const QRegion& region);

/// The pixels that only one of `actual` and `expected` covers, described.
std::string describeDifference(const QRegion& actual, const QRegion& expected);

} // namespace zentaro::x11test
