#include "ui/MainLayout.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(MainLayout, NormalWindowIsHeldToTheMinimumSize) {
    struct Row {
        WindowSize Outer;
        bool Toolbar;
        WindowSize Snapped;
    };
    for (const Row& row :
         {Row{{9000, 8000}, true, {9795, 8820}}, Row{{9000, 8000}, false, {9795, 8460}},
          Row{{12000, 8500}, false, {12000, 8500}}, Row{{9795, 8820}, true, {9795, 8820}}}) {
        EXPECT_EQ(SnapToMinimumSize(row.Outer, row.Toolbar), row.Snapped)
            << row.Outer.Width << "x" << row.Outer.Height << " toolbar " << row.Toolbar;
    }
}

TEST(MainLayout, ToolbarSetsTheNormalHeightOrGivesItsHeightToTheLists) {
    struct Row {
        bool Show, Normal;
        std::optional<int> Height;
        int ListChange, FolderTop, FileTop;
    };
    for (const Row& row : {Row{true, true, 8820, 0, 480, 465}, Row{false, true, 8460, 0, 120, 105},
                           Row{true, false, std::nullopt, -360, 480, 465},
                           Row{false, false, std::nullopt, 360, 120, 105}}) {
        const ToolbarChange change = ShowToolbarLayout(row.Show, row.Normal);
        EXPECT_EQ(change.WindowHeight, row.Height) << row.Show << row.Normal;
        EXPECT_EQ(change.ListHeightChange, row.ListChange);
        EXPECT_EQ(change.FolderListTop, row.FolderTop);
        EXPECT_EQ(change.FileListTop, row.FileTop);
    }
}

TEST(MainLayout, ResizeGivesHeightToSplitter1AndWidthToTheID3v2Pane) {
    MainWindowLayout layout = LayOutMainWindow({9795, 8820}, true, 4200);
    EXPECT_EQ(layout.X, 0);
    EXPECT_EQ(layout.Splitter1, (TwipRect{120, 480, 9445, 1935}));
    EXPECT_EQ(layout.Picture1Top, 2475);
    EXPECT_EQ(layout.ID3v2FrameTop, 2595);
    EXPECT_EQ(layout.ID3v2FrameWidth, 5175);
    EXPECT_FLOAT_EQ(layout.Splitter1Ratio, 4200.0f / (4200 + 5175));
    EXPECT_EQ(layout.V2TextWidth, 4095);
    EXPECT_EQ(layout.V2GenreWidth, 2655);
    EXPECT_EQ(layout.V2TrackLeft, 4440);
    EXPECT_EQ(layout.V2TrackLabelLeft, 3720);

    // Minimum height without the toolbar: everything moves up by 360.
    layout = LayOutMainWindow({9795, 8460}, false, 4200);
    EXPECT_EQ(layout.Splitter1, (TwipRect{120, 120, 9445, 1935}));
    EXPECT_EQ(layout.Picture1Top, 2115);

    layout = LayOutMainWindow({10795, 9820}, true, 4200);
    EXPECT_EQ(layout.X, 1000);
    EXPECT_EQ(layout.Splitter1, (TwipRect{120, 480, 10445, 2935}));
    EXPECT_EQ(layout.ID3v2FrameWidth, 6175);
    EXPECT_FLOAT_EQ(layout.Splitter1Ratio, 4200.0f / (4200 + 6175));
    EXPECT_EQ(layout.V2GenreWidth, 3655);
    EXPECT_EQ(layout.V2TrackLeft, 5440);

    // A maximised window on a screen below the minimum size: no negative lengths.
    layout = LayOutMainWindow({3000, 5000}, true, 4200);
    EXPECT_EQ(layout.Splitter1.Height, 0);
    EXPECT_EQ(layout.ID3v2FrameWidth, 0);
    EXPECT_EQ(layout.V2TextWidth, 0);
    EXPECT_FLOAT_EQ(layout.Splitter1Ratio, 1.0f);
}

TEST(MainLayout, TabPagesSitBelowTheTabsWithTheLabelsCentred) {
    const TabPagesLayout pages = PlaceTabPages({0, 2782, 4200, 2423});
    EXPECT_EQ(pages.PageList, (TwipRect{120, 3360, 3960, 1845}));
    // 120 + 3960/2 - 1695/2 = 1252.5; 3360 + 1845/2 - 255/2 = 4155.
    EXPECT_EQ(pages.NoMPEGInfo, (TwipRect{1253, 4155, 1695, 255}));
    EXPECT_EQ(pages.NoneDefined, (TwipRect{1493, 4155, 1215, 255}));

    EXPECT_EQ(PlaceTabPages({0, 100, 200, 300}).PageList, (TwipRect{120, 678, 0, 0}));
}

}  // namespace
}  // namespace tessaly
