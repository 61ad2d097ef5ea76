// The title strip that every design carries at the top edge of its client
// area, at its own strip left L: the bar block (L, 0, 1095, 255), the close
// label at (L + 1080, 0, 375, 240) and the toggle label at (L, 240, 1455, 255).
#include "designs/designs.h"

#include <gtest/gtest.h>

#include <string>

namespace zentaro::test {
namespace {

class TitleStrip : public ::testing::TestWithParam<const ReticleDesign*>
{
};

// The bar block is made of the bars on the top edge; together their boxes
// cover the block's rectangle, every 15-twip cell of it, and nothing beyond.
TEST_P(TitleStrip, BarsOnTheTopEdgeCoverExactlyTheBarBlock)
{
    const ReticleDesign& design = *GetParam();
    const int stripLeft = design.stripLeftTwips;
    constexpr int kCell = 15;
    constexpr int kColumns = 1095 / kCell;
    constexpr int kRows = 255 / kCell;
    bool covered[kRows][kColumns] = {};
    int blockBars = 0;
    for (const DesignElement& element : design.elements) {
        if (!element.isBar() || element.box.top != 0) {
            continue;
        }
        SCOPED_TRACE(element.displayName());
        ++blockBars;
        const TwipBox& box = element.box;
        EXPECT_GE(box.left, stripLeft);
        EXPECT_LE(box.left + box.width, stripLeft + 1095);
        EXPECT_LE(box.height, 255);
        for (int row = 0; row < box.height / kCell; ++row) {
            for (int column = 0; column < box.width / kCell; ++column) {
                const int x = (box.left - stripLeft) / kCell + column;
                if (x >= 0 && x < kColumns && row < kRows) {
                    covered[row][x] = true;
                }
            }
        }
    }
    EXPECT_GE(blockBars, 1);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            EXPECT_TRUE(covered[row][column]) << "cell " << column << "," << row;
        }
    }
    const DesignElement* picture = design.find("img", 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->box.top, 0) << "img(0) holds the picture in the bar block";
}

TEST_P(TitleStrip, LabelsStandAtTheStripLeft)
{
    const ReticleDesign& design = *GetParam();
    const int stripLeft = design.stripLeftTwips;
    const DesignElement* close = design.find("Label2");
    const DesignElement* toggle = design.find("Label1");
    ASSERT_NE(close, nullptr);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(close->box, (TwipBox{stripLeft + 1080, 0, 375, 240}));
    EXPECT_EQ(toggle->box, (TwipBox{stripLeft, 240, 1455, 255}));
    EXPECT_EQ(close->caption.view(), "X");
    EXPECT_TRUE(toggle->caption.empty());
}

// At 96 dpi the strip is 97 x 33 pixels; the close label overlaps the bar
// block's last column and the toggle label its last row.
TEST_P(TitleStrip, PixelColumnsAndRowsAt96Dpi)
{
    const ReticleDesign& design = *GetParam();
    const int x = design.stripLeftTwips / 15;
    const DesignElement* close = design.find("Label2");
    const DesignElement* toggle = design.find("Label1");
    ASSERT_NE(close, nullptr);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(snapToPixels(close->pixelBox(96)), (IntRect{x + 72, 0, x + 97, 16}));
    EXPECT_EQ(snapToPixels(toggle->pixelBox(96)), (IntRect{x, 16, x + 97, 33}));
}

std::string stripName(const ::testing::TestParamInfo<const ReticleDesign*>& info)
{
    return std::string(info.param->windowName);
}

INSTANTIATE_TEST_SUITE_P(AllDesigns, TitleStrip, ::testing::ValuesIn(designs::all()), stripName);

} // namespace
} // namespace zentaro::test
