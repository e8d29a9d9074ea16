// The splitter's settings and its placement and drag arithmetic, without a
// widget. Lengths are twips in the splitter's own coordinates (its top-left
// corner is 0, 0); "along the axis" is the width for orientation 1 (vertical
// bar, children side by side) and the height for orientation 2 (horizontal
// bar, children one above the other).
#pragma once

#include "ui/Twips.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

inline constexpr int VerticalBar = 1;
inline constexpr int HorizontalBar = 2;

// Where the two children go. A list-view child reaches 15 twips past its
// neighbours on the left and top and is 30 twips larger each way, so that its
// own border lies under the neighbouring edges.
struct SplitterChildRects {
    TwipRect Child1;
    TwipRect Child2;
};

// One step of a drag: the bar's new leading edge, and whether the children
// follow it now (LiveUpdate) or only when the button is released.
struct SplitterDragStep {
    int BarEdge = 0;
    bool PlaceChildren = false;
};

class SplitterLayout {
public:
    // The property names in interface order; each is also its key when saved.
    static const std::vector<std::string>& PropertyNames();
    // The description text of a property ("" for an unknown name), and that
    // of the Resize event.
    static std::string_view Description(std::string_view propertyName);
    static std::string_view ResizeDescription();

    // A newly placed splitter: every property at its initial value and
    // Ready. `newSplitterSize` is ten screen pixels in twips (150 at 96 dpi).
    explicit SplitterLayout(int newSplitterSize = 150);

    // Setters return false, and keep the old value, for a value their check
    // refuses. Which of them re-place the splitter is the widget's business.
    int SplitterAppearance() const { return appearance_; }
    void SetSplitterAppearance(int value) { appearance_ = value; }
    int SplitterBorder() const { return border_; }
    void SetSplitterBorder(int value) { border_ = value; }
    // 0xRRGGBB.
    std::uint32_t SplitterColor() const { return color_; }
    void SetSplitterColor(std::uint32_t rgb) { color_ = rgb & 0xFFFFFFu; }
    // Any value is kept; only VerticalBar and HorizontalBar place anything.
    int Orientation() const { return orientation_; }
    void SetOrientation(int value);
    // 1 .. 32767 (a 16-bit length).
    int SplitterSize() const { return splitterSize_; }
    bool SetSplitterSize(int value);
    // Where the centre of the bar stands, 0 .. 1 of the extent along the axis.
    float RatioFromTop() const { return ratio_; }
    bool SetRatioFromTop(float value);
    const std::string& Child1() const { return child1_; }
    void SetChild1(std::string name) { child1_ = std::move(name); }
    const std::string& Child2() const { return child2_; }
    void SetChild2(std::string name) { child2_ = std::move(name); }
    // The minimum sizes accept 0 or more.
    int MinSize1() const { return minSize1_; }
    bool SetMinSize1(int value);
    int MinSize2() const { return minSize2_; }
    bool SetMinSize2(int value);
    int MinSizeAux() const { return minSizeAux_; }
    bool SetMinSizeAux(int value);
    bool LiveUpdate() const { return liveUpdate_; }
    void SetLiveUpdate(bool value) { liveUpdate_ = value; }

    // MinSize1 + SplitterSize + MinSize2 (saturated, never overflowing).
    int MinTotal() const { return minTotal_; }
    // The splitter's inner size; recomputes CrossExtent.
    void SetInnerSize(int width, int height);
    // The inner extent along the axis (0 for an unknown orientation).
    int Extent() const;
    // The bar's and the children's extent across the axis: the inner size
    // across it, at least MinSizeAux; 0 for an unknown orientation.
    int CrossExtent() const { return crossExtent_; }

    // Placement runs only while Ready; it is false while the properties are
    // being loaded.
    bool Ready() const { return ready_; }
    void SetReady(bool ready) { ready_ = ready; }
    bool Dragging() const { return dragging_; }
    float DragStartRatio() const { return dragStartRatio_; }
    double GrabOffset() const { return grabOffset_; }

    // The bar placed from the ratio over extent E; nothing for an unknown
    // orientation. A splitter no larger than MinTotal puts the bar at
    // MinSize1; otherwise the bar keeps MinSize1 before it and MinSize2 after
    // it, MinSize1 first when both cannot be had.
    std::optional<TwipRect> PlaceBar(int extent) const;
    // The children beside a bar whose leading edge is at `barEdge`. Child2
    // keeps at least MinSize2 along the axis, reaching past the splitter's far
    // edge when it must. Nothing for an unknown orientation.
    std::optional<SplitterChildRects> PlaceChildren(int barEdge, int extent, bool child1IsListView,
                                                    bool child2IsListView) const;

    // Left button down at `pointerInBar` twips from the bar's leading edge.
    void BeginDrag(double pointerInBar);
    // The pointer moved to `pointerInBar` (from the bar's current leading edge
    // `barEdge`). The bar follows, held between MinSize1 and
    // E - MinSize2 - SplitterSize, and RatioFromTop follows the bar. Nothing
    // when not dragging or when the bar is already where it would go.
    std::optional<SplitterDragStep> DragTo(double pointerInBar, int barEdge, int extent);
    // Button up; the children are then placed where the bar is.
    void EndDrag() { dragging_ = false; }
    // Esc: the ratio goes back to what it was when the drag began. False when
    // no drag was running. The caller re-places bar and children.
    bool CancelDrag();

    // Every property under its name as text; the colour as "#rrggbb", the
    // flag as "true"/"false".
    std::map<std::string, std::string> Save() const;
    // Reads every property back through its setter; a missing key or a text
    // that does not parse gives that property's default for missing keys.
    // Ends Ready and not dragging; the caller then re-places.
    void Load(const std::map<std::string, std::string>& values);

private:
    void UpdateMinTotal();
    void UpdateCrossExtent();

    int appearance_ = 1;
    int border_ = 1;
    std::uint32_t color_ = 0x404040;
    int orientation_ = VerticalBar;
    int splitterSize_;
    float ratio_ = 0.5f;
    std::string child1_;
    std::string child2_;
    int minSize1_ = 255;
    int minSize2_ = 255;
    int minSizeAux_ = 255;
    bool liveUpdate_ = true;

    int minTotal_ = 0;
    int innerWidth_ = 0;
    int innerHeight_ = 0;
    int crossExtent_ = 0;
    bool ready_ = true;
    bool dragging_ = false;
    float dragStartRatio_ = 0.5f;
    double grabOffset_ = 0;
};

}  // namespace tessaly
