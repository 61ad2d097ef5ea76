// main() of the X11 test binaries: GoogleTest, plus a listener that leaves
// the pointer with no button held after each test, so that a test stopped
// in the middle of a drag does not press on behalf of the next one.
//
// With ZENTARO_X11_TEST_MAIN_WITH_QAPPLICATION defined (the desktop tests)
// a QApplication on the session's X server comes first, so that expected
// pixels are painted with the same fonts and palette as the reticle host's.
#include "pointer.h"
#include "x_connection.h"

#ifdef ZENTARO_X11_TEST_MAIN_WITH_QAPPLICATION
#include <QApplication>
#endif

#include <gtest/gtest.h>

namespace {

class ReleaseButtonsAfterEachTest : public ::testing::EmptyTestEventListener
{
public:
    void OnTestEnd(const ::testing::TestInfo& /*info*/) override
    {
        zentaro::x11test::XConnection x;
        zentaro::x11test::Pointer(x).releaseAll();
    }
};

} // namespace

int main(int argc, char** argv)
{
#ifdef ZENTARO_X11_TEST_MAIN_WITH_QAPPLICATION
    QApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    // GoogleTest owns and deletes the listener.
    ::testing::UnitTest::GetInstance()->listeners().Append(new ReleaseButtonsAfterEachTest);
    return RUN_ALL_TESTS();
}
