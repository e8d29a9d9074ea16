// A container that places two of its child widgets, named by Child1 and
// Child2, on either side of a bar the user can drag. It owns their geometry:
// whenever its size, ratio or settings change it moves the bar and both
// children, then emits Resize so the form can arrange what depends on them.
// Lengths are twips (see SplitterLayout); they become pixels at the screen's
// logical dpi, across with logicalDpiX and down with logicalDpiY.
#pragma once

#include "ui/SplitterLayout.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <map>
#include <string>

namespace tessaly {

class SplitterBar;

class Splitter : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int SplitterAppearance READ SplitterAppearance WRITE SetSplitterAppearance)
    Q_PROPERTY(int SplitterBorder READ SplitterBorder WRITE SetSplitterBorder)
    Q_PROPERTY(QColor SplitterColor READ SplitterColor WRITE SetSplitterColor)
    Q_PROPERTY(int Orientation READ Orientation WRITE SetOrientation)
    Q_PROPERTY(int SplitterSize READ SplitterSize WRITE SetSplitterSize)
    Q_PROPERTY(float RatioFromTop READ RatioFromTop WRITE SetRatioFromTop)
    Q_PROPERTY(QString Child1 READ Child1 WRITE SetChild1)
    Q_PROPERTY(QString Child2 READ Child2 WRITE SetChild2)
    Q_PROPERTY(int MinSize1 READ MinSize1 WRITE SetMinSize1)
    Q_PROPERTY(int MinSize2 READ MinSize2 WRITE SetMinSize2)
    Q_PROPERTY(int MinSizeAux READ MinSizeAux WRITE SetMinSizeAux)
    Q_PROPERTY(bool LiveUpdate READ LiveUpdate WRITE SetLiveUpdate)

public:
    explicit Splitter(QWidget* parent = nullptr);

    // The description text of a property by its name ("" for another name).
    static QString Description(const char* propertyName);

    // Setters keep the old value when the check refuses the new one (see
    // SplitterLayout). Orientation, SplitterSize, RatioFromTop, Child1,
    // Child2 and the minimum sizes re-place bar and children; the rest are
    // only stored.
    int SplitterAppearance() const { return layout_.SplitterAppearance(); }
    void SetSplitterAppearance(int value);
    int SplitterBorder() const { return layout_.SplitterBorder(); }
    void SetSplitterBorder(int value);
    QColor SplitterColor() const;
    void SetSplitterColor(const QColor& color);
    int Orientation() const { return layout_.Orientation(); }
    void SetOrientation(int value);
    int SplitterSize() const { return layout_.SplitterSize(); }
    void SetSplitterSize(int value);
    float RatioFromTop() const { return layout_.RatioFromTop(); }
    void SetRatioFromTop(float value);
    QString Child1() const { return QString::fromStdString(layout_.Child1()); }
    void SetChild1(const QString& name);
    QString Child2() const { return QString::fromStdString(layout_.Child2()); }
    void SetChild2(const QString& name);
    int MinSize1() const { return layout_.MinSize1(); }
    void SetMinSize1(int value);
    int MinSize2() const { return layout_.MinSize2(); }
    void SetMinSize2(int value);
    int MinSizeAux() const { return layout_.MinSizeAux(); }
    void SetMinSizeAux(int value);
    bool LiveUpdate() const { return layout_.LiveUpdate(); }
    void SetLiveUpdate(bool value);

    // Inner state, for the form and for tests.
    const SplitterLayout& Layout() const { return layout_; }
    bool Dragging() const { return layout_.Dragging(); }
    QWidget* Bar() const;
    // The bar's leading edge in twips (left for orientation 1, top for 2).
    int BarEdge() const { return barEdge_; }
    // The contained widget named `name` (ignoring case), first in child
    // order; nullptr for an empty name or no match.
    QWidget* FindChild(const QString& name) const;

    // Saving and loading with the form: every property under its own name.
    // Loading goes through the setters' checks, with the defaults for
    // missing keys, and re-places once at the end.
    std::map<std::string, std::string> SaveProperties() const;
    void LoadProperties(const std::map<std::string, std::string>& values);

    // Places the bar from the ratio, then the children.
    void Replace();

signals:
    // After every placement of the children, also when one is missing.
    void Resize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class SplitterBar;

    void PlaceBar();
    void PlaceChildren();
    void MoveBar(int edge);
    void SetGeometryInTwips(QWidget* widget, const TwipRect& rect);
    // Along the axis, from pixels to twips, at the dpi of that direction.
    double AxisTwips(double pixels) const;

    void BarPressed(double pointerInBarPixels);
    void BarMoved(double pointerInBarPixels);
    void BarReleased();
    void CancelDrag();

    SplitterLayout layout_;
    SplitterBar* bar_ = nullptr;
    int barEdge_ = 0;
};

}  // namespace tessaly
