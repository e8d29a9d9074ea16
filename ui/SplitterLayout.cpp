#include "ui/SplitterLayout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tessaly {

namespace {

constexpr int ListViewOverlap = 15;
constexpr int MaxSplitterSize = 32767;

struct PropertyText {
    std::string_view Name;
    std::string_view Description;
};

// The descriptions as the control has always carried them, typing slips included.
constexpr std::array<PropertyText, 12> kProperties{{
    {"SplitterAppearance",
     "The appearance of the splitter bar, only used while the splitter bar is moving and "
     "LiveUpdate is false."},
    {"SplitterBorder",
     "The border style for the spiltter bar, only used while the splitter bar is moving and "
     "LiveUpdate is false."},
    {"SplitterColor",
     "The color of the splitter bar, only used while the splitter bar is moving and LiveUpdate "
     "is false."},
    {"Orientation", "The flow of the child controls."},
    {"SplitterSize", "The size of the splitter bar."},
    {"RatioFromTop", "Percentage from the top/left to place the splitter bar."},
    {"Child1", "The name of the control to appear on the left/top."},
    {"Child2", "The name of the control to appear on the right/bottom."},
    {"MinSize1", "The minimum size allowed for Child1."},
    {"MinSize2", "The minimum size allowed for Child2."},
    {"MinSizeAux", "The minimum size allowed for the opposite orientation."},
    {"LiveUpdate", "True if the child controls should be resized as the splitter bar is moved."},
}};

int Saturate(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

bool KnownOrientation(int orientation) {
    return orientation == VerticalBar || orientation == HorizontalBar;
}

std::optional<long long> ParseInteger(const std::string& text) {
    long long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<float> ParseReal(const std::string& text) {
    float value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<bool> ParseFlag(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (text == "true" || text == "1") return true;
    if (text == "false" || text == "0") return false;
    return std::nullopt;
}

std::optional<std::uint32_t> ParseColor(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return std::nullopt;
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(text.data() + 1, text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string FormatReal(float value) {
    std::array<char, 32> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), error == std::errc() ? end : buffer.data());
}

}  // namespace

const std::vector<std::string>& SplitterLayout::PropertyNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const PropertyText& property : kProperties) list.emplace_back(property.Name);
        return list;
    }();
    return names;
}

std::string_view SplitterLayout::Description(std::string_view propertyName) {
    for (const PropertyText& property : kProperties) {
        if (property.Name == propertyName) return property.Description;
    }
    return {};
}

std::string_view SplitterLayout::ResizeDescription() {
    return "Occurs when the child controls are resized.";
}

SplitterLayout::SplitterLayout(int newSplitterSize)
    : splitterSize_(std::clamp(newSplitterSize, 1, MaxSplitterSize)) {
    UpdateMinTotal();
    UpdateCrossExtent();
}

void SplitterLayout::SetOrientation(int value) {
    orientation_ = value;
    UpdateCrossExtent();
}

bool SplitterLayout::SetSplitterSize(int value) {
    if (value <= 0 || value > MaxSplitterSize) return false;
    splitterSize_ = value;
    UpdateMinTotal();
    return true;
}

bool SplitterLayout::SetRatioFromTop(float value) {
    if (!(value >= 0.0f && value <= 1.0f)) return false;  // NaN fails too
    ratio_ = value;
    return true;
}

bool SplitterLayout::SetMinSize1(int value) {
    if (value < 0) return false;
    minSize1_ = value;
    UpdateMinTotal();
    return true;
}

bool SplitterLayout::SetMinSize2(int value) {
    if (value < 0) return false;
    minSize2_ = value;
    UpdateMinTotal();
    return true;
}

bool SplitterLayout::SetMinSizeAux(int value) {
    if (value < 0) return false;
    minSizeAux_ = value;
    UpdateCrossExtent();
    return true;
}

void SplitterLayout::SetInnerSize(int width, int height) {
    innerWidth_ = std::max(width, 0);
    innerHeight_ = std::max(height, 0);
    UpdateCrossExtent();
}

int SplitterLayout::Extent() const {
    if (orientation_ == VerticalBar) return innerWidth_;
    if (orientation_ == HorizontalBar) return innerHeight_;
    return 0;
}

void SplitterLayout::UpdateMinTotal() {
    minTotal_ = Saturate(static_cast<long long>(minSize1_) + splitterSize_ + minSize2_);
}

void SplitterLayout::UpdateCrossExtent() {
    if (orientation_ == VerticalBar) {
        crossExtent_ = std::max(innerHeight_, minSizeAux_);
    } else if (orientation_ == HorizontalBar) {
        crossExtent_ = std::max(innerWidth_, minSizeAux_);
    } else {
        crossExtent_ = 0;
    }
}

std::optional<TwipRect> SplitterLayout::PlaceBar(int extent) const {
    if (!KnownOrientation(orientation_)) return std::nullopt;
    const long long e = extent;
    const long long size = splitterSize_;
    long long p = minSize1_;
    // Too small for both minimum sizes: the first child keeps its own and the
    // second reaches past the far edge.
    if (e > minTotal_) {
        // The ratio is where the bar's centre stands; llrint rounds halves to even.
        p = std::llrint(static_cast<double>(e) * ratio_ - static_cast<double>(size / 2));
        if (p < 0) p = 0;
        if (p + size > e) p = e - size;
        if (p < minSize1_) {
            p = minSize1_;
        } else if (p + size > e - minSize2_) {
            p = e - minSize2_ - size;
        }
    }
    if (orientation_ == VerticalBar) return TwipRect{Saturate(p), 0, splitterSize_, crossExtent_};
    return TwipRect{0, Saturate(p), crossExtent_, splitterSize_};
}

std::optional<SplitterChildRects> SplitterLayout::PlaceChildren(int barEdge, int extent,
                                                                bool child1IsListView,
                                                                bool child2IsListView) const {
    if (!KnownOrientation(orientation_)) return std::nullopt;
    auto rect = [&](long long along, long long length, bool listView) {
        TwipRect r = orientation_ == VerticalBar
                         ? TwipRect{Saturate(along), 0, Saturate(length), crossExtent_}
                         : TwipRect{0, Saturate(along), crossExtent_, Saturate(length)};
        if (listView) {
            r.Left -= ListViewOverlap;
            r.Top -= ListViewOverlap;
            r.Width += 2 * ListViewOverlap;
            r.Height += 2 * ListViewOverlap;
        }
        return r;
    };
    const long long child2Start = static_cast<long long>(barEdge) + splitterSize_;
    const long long child2Length = std::max<long long>(extent - child2Start, minSize2_);
    return SplitterChildRects{rect(0, barEdge, child1IsListView),
                              rect(child2Start, child2Length, child2IsListView)};
}

void SplitterLayout::BeginDrag(double pointerInBar) {
    dragStartRatio_ = ratio_;
    grabOffset_ = pointerInBar;
    dragging_ = true;
}

std::optional<SplitterDragStep> SplitterLayout::DragTo(double pointerInBar, int barEdge,
                                                       int extent) {
    if (!dragging_ || !KnownOrientation(orientation_)) return std::nullopt;
    const double candidate = barEdge + pointerInBar - grabOffset_;
    const long long low = minSize1_;
    // In a splitter too small for both minimum sizes the upper limit would lie
    // below the lower one; the bar then stays at MinSize1, as placement puts it.
    const long long high =
        std::max<long long>(low, static_cast<long long>(extent) - minSize2_ - splitterSize_);
    long long edge;
    if (candidate > low && candidate < high) {
        edge = std::llround(candidate);
    } else {
        edge = candidate <= low ? low : high;
    }
    if (edge == barEdge) return std::nullopt;

    // The ratio follows where the bar stands, not where the pointer went, so
    // that re-placing puts the bar back here and the saved ratio stays one the
    // property accepts when it is read back.
    float ratio = 0.0f;
    if (extent > 0) {
        ratio = static_cast<float>(static_cast<double>(edge + splitterSize_ / 2) / extent);
        ratio = std::clamp(ratio, 0.0f, 1.0f);
    }
    ratio_ = ratio;
    return SplitterDragStep{Saturate(edge), liveUpdate_};
}

bool SplitterLayout::CancelDrag() {
    if (!dragging_) return false;
    SetRatioFromTop(dragStartRatio_);
    dragging_ = false;
    return true;
}

std::map<std::string, std::string> SplitterLayout::Save() const {
    char color[8];
    std::snprintf(color, sizeof color, "#%06x", static_cast<unsigned>(color_));
    return {
        {"SplitterAppearance", std::to_string(appearance_)},
        {"SplitterBorder", std::to_string(border_)},
        {"SplitterColor", color},
        {"Orientation", std::to_string(orientation_)},
        {"SplitterSize", std::to_string(splitterSize_)},
        {"RatioFromTop", FormatReal(ratio_)},
        {"Child1", child1_},
        {"Child2", child2_},
        {"MinSize1", std::to_string(minSize1_)},
        {"MinSize2", std::to_string(minSize2_)},
        {"MinSizeAux", std::to_string(minSizeAux_)},
        {"LiveUpdate", liveUpdate_ ? "true" : "false"},
    };
}

void SplitterLayout::Load(const std::map<std::string, std::string>& values) {
    ready_ = false;
    auto text = [&](const char* name) -> const std::string* {
        auto found = values.find(name);
        return found == values.end() ? nullptr : &found->second;
    };
    // An integer property: its saved value when it parses and fits, else the
    // default for a missing key.
    auto integer = [&](const char* name, int fallback) {
        const std::string* saved = text(name);
        std::optional<long long> value = saved ? ParseInteger(*saved) : std::nullopt;
        if (!value || *value < std::numeric_limits<int>::min() ||
            *value > std::numeric_limits<int>::max()) {
            return fallback;
        }
        return static_cast<int>(*value);
    };
    auto parsed = [&](const char* name, auto parse, auto fallback) {
        const std::string* saved = text(name);
        auto value = saved ? parse(*saved) : std::nullopt;
        return value ? *value : fallback;
    };

    SetSplitterAppearance(integer("SplitterAppearance", 1));
    SetSplitterBorder(integer("SplitterBorder", 1));
    SetSplitterColor(parsed("SplitterColor", ParseColor, std::uint32_t{0x404040}));
    SetOrientation(integer("Orientation", VerticalBar));
    SetSplitterSize(integer("SplitterSize", 270));
    SetRatioFromTop(parsed("RatioFromTop", ParseReal, 0.5f));
    const std::string* child1 = text("Child1");
    SetChild1(child1 ? *child1 : std::string());
    const std::string* child2 = text("Child2");
    SetChild2(child2 ? *child2 : std::string());
    SetMinSize1(integer("MinSize1", 255));
    SetMinSize2(integer("MinSize2", 255));
    SetMinSizeAux(integer("MinSizeAux", 255));
    SetLiveUpdate(parsed("LiveUpdate", ParseFlag, true));

    dragging_ = false;
    ready_ = true;
}

}  // namespace tessaly
