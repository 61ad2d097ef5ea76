#include "regions.h"

#include <QRect>

#include <sstream>

namespace zentaro::x11test {
namespace {

constexpr int kMaxRectsShown = 12;

void print(std::ostringstream& out, const QRect& r)
{
    out << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

} // namespace

bool samePixels(const QRegion& a, const QRegion& b)
{
    return a.xored(b).isEmpty();
}

std::string describe(const QRegion& region)
{
    std::ostringstream out;
    out << region.rectCount() << " rects, bounds (";
    print(out, region.boundingRect());
    out << "):";
    int shown = 0;
    for (const QRect& r : region) {
        if (shown++ == kMaxRectsShown) {
            out << " ...";
            break;
        }
        out << " [";
        print(out, r);
        out << ']';
    }
    return out.str();
}

std::string describeDifference(const QRegion& actual, const QRegion& expected)
{
    return "only in actual: " + describe(actual.subtracted(expected)) +
           "; only in expected: " + describe(expected.subtracted(actual));
}

} // namespace zentaro::x11test
