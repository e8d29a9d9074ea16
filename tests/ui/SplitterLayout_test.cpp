#include "ui/SplitterLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tessaly {
namespace {

// A side-by-side splitter 1000 x 600 with a 60-twip bar and the usual minimum
// sizes (MinTotal 570).
SplitterLayout Wide(float ratio = 0.5f) {
    SplitterLayout layout;
    layout.SetSplitterSize(60);
    layout.SetRatioFromTop(ratio);
    layout.SetInnerSize(1000, 600);
    return layout;
}

TEST(SplitterLayout, SettersRefuseOutOfRangeValuesAndKeepTheOldOne) {
    SplitterLayout layout = Wide(0.3f);
    for (float refused : {1.5f, -0.1f, std::nanf("")}) {
        EXPECT_FALSE(layout.SetRatioFromTop(refused)) << refused;
        EXPECT_FLOAT_EQ(layout.RatioFromTop(), 0.3f);
    }
    for (float accepted : {0.0f, 1.0f}) {
        EXPECT_TRUE(layout.SetRatioFromTop(accepted));
        EXPECT_FLOAT_EQ(layout.RatioFromTop(), accepted);
    }
    for (int refused : {0, -5, 40000}) EXPECT_FALSE(layout.SetSplitterSize(refused)) << refused;
    EXPECT_EQ(layout.SplitterSize(), 60);
    EXPECT_FALSE(layout.SetMinSize1(-1));
    EXPECT_FALSE(layout.SetMinSize2(-1));
    EXPECT_FALSE(layout.SetMinSizeAux(-1));
    EXPECT_TRUE(layout.SetMinSize1(0));
    EXPECT_EQ(layout.MinTotal(), 0 + 60 + 255);
    EXPECT_TRUE(layout.SetMinSize2(2147483647));  // MinTotal saturates instead of overflowing
    EXPECT_EQ(layout.MinTotal(), 2147483647);

    layout.SetOrientation(7);  // kept, but places nothing
    EXPECT_EQ(layout.Orientation(), 7);
    EXPECT_EQ(layout.CrossExtent(), 0);
    EXPECT_FALSE(layout.PlaceBar(1000));
    EXPECT_FALSE(layout.PlaceChildren(400, 1000, false, false));
}

TEST(SplitterLayout, DescriptionsByPropertyName) {
    ASSERT_EQ(SplitterLayout::PropertyNames().size(), 12u);
    for (const std::string& name : SplitterLayout::PropertyNames()) {
        EXPECT_FALSE(SplitterLayout::Description(name).empty()) << name;
    }
    EXPECT_EQ(SplitterLayout::Description("SplitterBorder"),
              "The border style for the spiltter bar, only used while the splitter bar is moving "
              "and LiveUpdate is false.");
    EXPECT_EQ(SplitterLayout::Description("MinSizeAux"),
              "The minimum size allowed for the opposite orientation.");
    EXPECT_EQ(SplitterLayout::Description("Caption"), "");
}

TEST(SplitterLayout, PlacesTheBarFromTheRatioWithinTheMinimumSizes) {
    struct Row {
        const char* Case;
        int Extent, Size, MinSize1, MinSize2;
        float Ratio;
        int Edge;
    };
    const Row rows[] = {
        {"centre minus half the bar", 1000, 60, 255, 255, 0.5f, 470},
        {"half of an odd bar rounds down", 1000, 61, 255, 255, 0.5f, 470},
        {"470.5 rounds to even", 1001, 60, 255, 255, 0.5f, 470},
        {"471.5 rounds to even", 1003, 60, 255, 255, 0.5f, 472},
        {"ratio 0 stops at MinSize1", 1000, 60, 255, 255, 0.0f, 255},
        {"ratio 1 stops before MinSize2", 1000, 60, 255, 255, 1.0f, 685},
        {"no minimum sizes, ratio 1", 1000, 60, 0, 0, 1.0f, 940},
        {"exactly MinTotal", 570, 60, 255, 255, 0.9f, 255},
        {"smaller than MinTotal", 500, 60, 255, 255, 0.9f, 255},
        {"MinSize1 wins", 1000, 60, 600, 600, 0.5f, 600},
        {"smaller than the bar", 40, 60, 0, 0, 0.5f, 0},
    };
    for (const Row& row : rows) {
        SplitterLayout layout;
        layout.SetSplitterSize(row.Size);
        layout.SetMinSize1(row.MinSize1);
        layout.SetMinSize2(row.MinSize2);
        layout.SetRatioFromTop(row.Ratio);
        layout.SetInnerSize(row.Extent, 600);
        EXPECT_EQ(layout.PlaceBar(row.Extent), (TwipRect{row.Edge, 0, row.Size, 600})) << row.Case;
        layout.SetOrientation(HorizontalBar);
        layout.SetInnerSize(600, row.Extent);
        EXPECT_EQ(layout.PlaceBar(row.Extent), (TwipRect{0, row.Edge, 600, row.Size})) << row.Case;
    }
}

TEST(SplitterLayout, ChildrenFillEachSideAndListViewsReachUnderTheEdges) {
    SplitterLayout layout = Wide();
    auto rects = layout.PlaceChildren(470, 1000, false, true);
    ASSERT_TRUE(rects);
    EXPECT_EQ(rects->Child1, (TwipRect{0, 0, 470, 600}));
    EXPECT_EQ(rects->Child2, (TwipRect{530 - 15, -15, 470 + 30, 600 + 30}));

    // Too small: the bar sits at MinSize1 and Child2 keeps MinSize2 past the far edge.
    layout.SetInnerSize(500, 100);  // also lower than MinSizeAux
    EXPECT_EQ(layout.CrossExtent(), 255);
    rects = layout.PlaceChildren(layout.PlaceBar(500)->Left, 500, true, false);
    EXPECT_EQ(rects->Child1, (TwipRect{-15, -15, 255 + 30, 255 + 30}));
    EXPECT_EQ(rects->Child2, (TwipRect{315, 0, 255, 255}));

    layout.SetOrientation(HorizontalBar);
    layout.SetInnerSize(800, 1000);
    rects = layout.PlaceChildren(470, 1000, false, false);
    EXPECT_EQ(rects->Child1, (TwipRect{0, 0, 800, 470}));
    EXPECT_EQ(rects->Child2, (TwipRect{0, 530, 800, 470}));
}

TEST(SplitterLayout, DragHoldsTheBarBetweenTheMinimumSizesAndEscRestores) {
    SplitterLayout layout = Wide();
    EXPECT_FALSE(layout.DragTo(100, 470, 1000));  // no drag running
    layout.BeginDrag(20);
    EXPECT_TRUE(layout.Dragging());
    EXPECT_FLOAT_EQ(layout.DragStartRatio(), 0.5f);

    auto step = layout.DragTo(120, 470, 1000);  // 100 to the right
    ASSERT_TRUE(step);
    EXPECT_EQ(step->BarEdge, 570);
    EXPECT_TRUE(step->PlaceChildren);
    EXPECT_FLOAT_EQ(layout.RatioFromTop(), 0.6f);
    EXPECT_EQ(layout.PlaceBar(1000)->Left, 570);  // re-placing keeps the bar where it was left

    step = layout.DragTo(-5000, 570, 1000);  // far left
    ASSERT_TRUE(step);
    EXPECT_EQ(step->BarEdge, 255);
    EXPECT_FLOAT_EQ(layout.RatioFromTop(), 0.285f);  // from the bar, not the pointer
    EXPECT_FALSE(layout.DragTo(-6000, 255, 1000));   // already at the limit
    EXPECT_EQ(layout.DragTo(9000, 255, 1000)->BarEdge, 685);

    EXPECT_TRUE(layout.CancelDrag());
    EXPECT_FALSE(layout.Dragging());
    EXPECT_FLOAT_EQ(layout.RatioFromTop(), 0.5f);
    EXPECT_EQ(layout.PlaceBar(1000)->Left, 470);
    EXPECT_FALSE(layout.CancelDrag());

    // Without LiveUpdate the children wait for the button to come up.
    layout.SetLiveUpdate(false);
    layout.BeginDrag(0);
    EXPECT_FALSE(layout.DragTo(50, 470, 1000)->PlaceChildren);

    // A splitter too small for both minimum sizes keeps the bar at MinSize1.
    layout.SetInnerSize(400, 600);
    EXPECT_FALSE(layout.DragTo(300, 255, 400));
    EXPECT_EQ(layout.DragTo(-300, 300, 400)->BarEdge, 255);
    EXPECT_FLOAT_EQ(layout.RatioFromTop(), 285.0f / 400);
}

TEST(SplitterLayout, SavesEveryPropertyAndLoadsThroughTheSetters) {
    SplitterLayout layout = Wide(0.45f);
    layout.SetSplitterAppearance(0);
    layout.SetSplitterBorder(0);
    layout.SetSplitterColor(0x12AB34);
    layout.SetOrientation(HorizontalBar);
    layout.SetChild1("ID3v1frame");
    layout.SetChild2("tswindow");
    layout.SetMinSize1(200);
    layout.SetMinSize2(923);
    layout.SetMinSizeAux(0);
    layout.SetLiveUpdate(false);
    const auto saved = layout.Save();
    EXPECT_EQ(saved.size(), 12u);
    EXPECT_EQ(saved.at("SplitterColor"), "#12ab34");
    EXPECT_EQ(saved.at("RatioFromTop"), "0.45");
    EXPECT_EQ(saved.at("LiveUpdate"), "false");

    SplitterLayout loaded;
    loaded.BeginDrag(10);
    loaded.Load(saved);
    EXPECT_EQ(loaded.Save(), saved);
    EXPECT_EQ(loaded.MinTotal(), 200 + 60 + 923);
    EXPECT_TRUE(loaded.Ready());
    EXPECT_FALSE(loaded.Dragging());

    // Missing keys take their defaults (a 270-twip bar, not a new control's 10 pixels);
    // unreadable text counts as missing; a refused value keeps what was there.
    loaded.Load({{"RatioFromTop", "1.5"}, {"MinSize1", "wide"}, {"SplitterColor", "grey"}});
    EXPECT_EQ(loaded.SplitterSize(), 270);
    EXPECT_EQ(loaded.Orientation(), VerticalBar);
    EXPECT_FLOAT_EQ(loaded.RatioFromTop(), 0.45f);
    EXPECT_EQ(loaded.MinSize1(), 255);
    EXPECT_EQ(loaded.SplitterColor(), 0x404040u);
    EXPECT_EQ(loaded.Child1(), "");
    EXPECT_TRUE(loaded.LiveUpdate());
}

}  // namespace
}  // namespace tessaly
