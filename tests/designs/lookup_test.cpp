// Finding a design by the name of the window that shows it.
#include "designs/designs.h"

#include <gtest/gtest.h>

#include <string>

namespace zentaro::test {
namespace {

struct LookupCase
{
    std::string_view windowName;
    const ReticleDesign& (*design)();
};

const LookupCase kLookups[] = {
    {"Form2", designs::standardRosso},
    {"Form3", designs::standardBianco},
    {"Form4", designs::standardRossoFine},
    {"Form5", designs::croceRossa},
    {"Form6", designs::croceRossaMicrometrica},
    {"Form7", designs::campoCcd},
    {"Form8", designs::punto},
    {"Form10", designs::centratore},
};

TEST(FindByWindowName, FindsEachDesign)
{
    for (const LookupCase& c : kLookups) {
        SCOPED_TRACE(std::string(c.windowName));
        EXPECT_EQ(designs::findByWindowName(c.windowName), &c.design());
    }
}

// Form1 is the banner window and Form9 does not exist; names are exact.
TEST(FindByWindowName, ReturnsNullForOtherNames)
{
    for (std::string_view name : {"Form1", "Form9", "", "form3", "Form", "Form10 ", "Form1 0",
                                  "StandardBianco", "Form02"}) {
        SCOPED_TRACE(std::string(name));
        EXPECT_EQ(designs::findByWindowName(name), nullptr);
    }
}

} // namespace
} // namespace zentaro::test
