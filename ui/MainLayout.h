// The main window's layout arithmetic, without a widget, in twips.
//
// Window width and height are the outer size (borders, caption and menu bar
// included), as the resize rules measure it; positions are client
// coordinates, below the menu bar, where the toolbar takes the top 360 twips
// while it shows. t is 0 with the toolbar shown and 360 with it hidden.
//
// The designed arrangement at the minimum size, 9795 x 8820 (client area
// 9675 x 8070 with the frame allowance below), toolbar shown:
//
//   toolbar     0 ..  360
//   Splitter1   left 120, top 480 - t, 9445 x 1935 (right edge 9565)
//   Picture1    left 120, top 2475 - t, 4200 x 5205, holding Splitter2 over
//               its whole area (ID3v1Frame above, tsWindow below)
//   ID3v2Frame  left 4390, top 2595 - t, 5175 x 5085 (right edge 9565)
//   stBar       the bottom 315
//
// so that both lower panes end at 7680 - t, 75 twips above the status bar,
// and the splitter's bar, at 0.45 of its width, stands above the gap between
// the panes. A wider window widens Splitter1 and ID3v2Frame; a taller one
// gives the height to Splitter1 and moves the lower band down.
#pragma once

#include "ui/Twips.h"

#include <array>
#include <optional>
#include <string_view>

namespace tessaly {

namespace MainDesign {
inline constexpr int MinimumWidth = 9795;
inline constexpr int NormalHeight = 8820;  // with the toolbar showing
inline constexpr int ToolbarHeight = 360;
// Outer size minus client size: two 60-twip borders across; caption 330,
// menu bar 300 and two borders down.
inline constexpr int FrameWidth = 120;
inline constexpr int FrameHeight = 750;
inline constexpr int StatusBarHeight = 315;

inline constexpr int Splitter1Left = 120;
inline constexpr int Splitter1Top = 480;  // minus t
inline constexpr int Splitter1MinimumHeight = 1935;
inline constexpr int Picture1Left = 120;
inline constexpr int Picture1Width = 4200;
inline constexpr int Picture1Height = 5205;
inline constexpr int ID3v2FrameLeft = 4390;
inline constexpr int ID3v2FrameMinimumWidth = 5175;
inline constexpr int ID3v2FrameHeight = 5085;

// Inside the ID3v2 pane at the minimum width; each grows or moves by X.
inline constexpr int V2TextMinimumWidth = 4095;
inline constexpr int V2GenreMinimumWidth = 2655;
inline constexpr int V2TrackMinimumLeft = 4440;
inline constexpr int V2TrackLabelMinimumLeft = 3720;

// Tab pages, in tsWindow's container: below the tabs, inset from its sides.
inline constexpr int TabsHeight = 578;
inline constexpr int VisiblePageLeft = 120;
inline constexpr int HiddenPageLeft = -20000;
inline constexpr int NoMPEGInfoWidth = 1695;
inline constexpr int NoneDefinedWidth = 1215;
inline constexpr int PageLabelHeight = 255;
}  // namespace MainDesign

// The ID3v2 text boxes that follow the window's width.
inline constexpr std::array<std::string_view, 9> V2WidthFollowingBoxes{
    "v2title",      "v2artist",    "v2album", "v2comment", "v2composer",
    "v2origartist", "v2copyright", "v2url",   "v2encoder"};

// t: 0 with the toolbar shown, 360 with it hidden.
int ToolbarOffset(bool toolbarShown);

struct WindowSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const WindowSize&) const = default;
};

// The size a window in the normal state is held to: at least 9795 wide and
// 8820 - t high. Maximised and minimised windows are left as they are.
WindowSize SnapToMinimumSize(WindowSize outer, bool toolbarShown);

// What the resize layout sets, from the outer size (after the snap).
struct MainWindowLayout {
    int X = 0;  // width - 9795, what the window has beyond its minimum width
    TwipRect Splitter1;
    int Picture1Top = 0;
    int ID3v2FrameTop = 0;
    int ID3v2FrameWidth = 0;
    // ID3v1Frame's width over both panes' widths, so that the bar between
    // folder tree and file list stands above the boundary between the panes.
    float Splitter1Ratio = 0.5f;
    int V2TextWidth = 0;  // each box of V2WidthFollowingBoxes
    int V2GenreWidth = 0;
    int V2TrackLeft = 0;
    int V2TrackLabelLeft = 0;
};

// Lengths that would come out negative, as in a maximised window on a screen
// narrower or lower than the minimum size, are held at 0 and the ratio within
// 0..1, so every value is one the controls accept.
MainWindowLayout LayOutMainWindow(WindowSize outer, bool toolbarShown, int id3v1FrameWidth);

// What showing or hiding the toolbar changes. In the normal state the window
// takes its designed height (the resize layout then places the rest); in the
// other states the window keeps its size and the folder tree and file list
// give up or take the toolbar's height. The tops are those of the tree and of
// the list view (which reaches 15 twips above its neighbours), i.e. Splitter1
// moves to 480 - t.
struct ToolbarChange {
    std::optional<int> WindowHeight;
    int ListHeightChange = 0;
    int FolderListTop = 0;
    int FileListTop = 0;
};
ToolbarChange ShowToolbarLayout(bool show, bool normalState);

// The tab pages over tsWindow (in tsWindow's container): the page list of
// the selected tab (the others go to left MainDesign::HiddenPageLeft) and the
// two labels centred over it.
struct TabPagesLayout {
    TwipRect PageList;
    TwipRect NoMPEGInfo;
    TwipRect NoneDefined;
};
TabPagesLayout PlaceTabPages(const TwipRect& tsWindow);

}  // namespace tessaly
