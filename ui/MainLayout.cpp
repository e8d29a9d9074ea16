#include "ui/MainLayout.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

namespace {

int NotNegative(long long length) {
    return static_cast<int>(std::clamp<long long>(length, 0, 1LL << 30));
}

// Centres `length` over [start, start + span): start + span / 2 - length / 2,
// to the nearest twip.
int Centre(int start, int span, int length) {
    return static_cast<int>(std::lround((2.0 * start + span - length) / 2.0));
}

}  // namespace

int ToolbarOffset(bool toolbarShown) {
    return toolbarShown ? 0 : MainDesign::ToolbarHeight;
}

WindowSize SnapToMinimumSize(WindowSize outer, bool toolbarShown) {
    const int minimumHeight = MainDesign::NormalHeight - ToolbarOffset(toolbarShown);
    return {std::max(outer.Width, MainDesign::MinimumWidth), std::max(outer.Height, minimumHeight)};
}

MainWindowLayout LayOutMainWindow(WindowSize outer, bool toolbarShown, int id3v1FrameWidth) {
    using namespace MainDesign;
    const int t = ToolbarOffset(toolbarShown);
    MainWindowLayout layout;
    layout.X = outer.Width - MinimumWidth;
    const long long x = layout.X;

    // All of the height beyond the minimum goes to the folder tree and file list.
    const long long splitterHeight =
        static_cast<long long>(outer.Height) - (NormalHeight - t) + Splitter1MinimumHeight;
    layout.Splitter1 = {Splitter1Left, Splitter1Top - t,
                        NotNegative(static_cast<long long>(outer.Width) - 350),
                        NotNegative(splitterHeight)};
    layout.Picture1Top = layout.Splitter1.Bottom() + 60;
    layout.ID3v2FrameTop = layout.Splitter1.Bottom() + 180;
    layout.ID3v2FrameWidth = NotNegative(ID3v2FrameMinimumWidth + x);

    const double v1 = std::max(id3v1FrameWidth, 0);
    const double both = v1 + layout.ID3v2FrameWidth;
    if (both > 0) layout.Splitter1Ratio = static_cast<float>(v1 / both);

    layout.V2TextWidth = NotNegative(V2TextMinimumWidth + x);
    layout.V2GenreWidth = NotNegative(V2GenreMinimumWidth + x);
    layout.V2TrackLeft = V2TrackMinimumLeft + layout.X;
    layout.V2TrackLabelLeft = V2TrackLabelMinimumLeft + layout.X;
    return layout;
}

ToolbarChange ShowToolbarLayout(bool show, bool normalState) {
    const int t = ToolbarOffset(show);
    ToolbarChange change;
    if (normalState) {
        change.WindowHeight = MainDesign::NormalHeight - t;
    } else {
        change.ListHeightChange = show ? -MainDesign::ToolbarHeight : MainDesign::ToolbarHeight;
    }
    change.FolderListTop = MainDesign::Splitter1Top - t;
    change.FileListTop = MainDesign::Splitter1Top - 15 - t;
    return change;
}

TabPagesLayout PlaceTabPages(const TwipRect& tsWindow) {
    using namespace MainDesign;
    TabPagesLayout pages;
    pages.PageList = {VisiblePageLeft, tsWindow.Top + TabsHeight,
                      NotNegative(static_cast<long long>(tsWindow.Width) - 2 * VisiblePageLeft),
                      NotNegative(static_cast<long long>(tsWindow.Height) - TabsHeight)};
    const TwipRect& list = pages.PageList;
    const int labelTop = Centre(list.Top, list.Height, PageLabelHeight);
    pages.NoMPEGInfo = {Centre(list.Left, list.Width, NoMPEGInfoWidth), labelTop, NoMPEGInfoWidth,
                        PageLabelHeight};
    pages.NoneDefined = {Centre(list.Left, list.Width, NoneDefinedWidth), labelTop,
                         NoneDefinedWidth, PageLabelHeight};
    return pages;
}

}  // namespace tessaly
