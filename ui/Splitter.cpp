#include "ui/Splitter.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>

namespace tessaly {

// The draggable bar: passes the left button to its splitter, and
// shows itself only while a drag without LiveUpdate leaves the children
// behind, so the user sees where they will go.
class SplitterBar : public QWidget {
public:
    explicit SplitterBar(Splitter* owner) : QWidget(owner), owner_(owner) {
        setObjectName(QStringLiteral("picSplitter"));
        setAccessibleName(QStringLiteral("Splitter bar"));
        setAccessibleDescription(QStringLiteral("picSplitter"));
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
        owner_->BarPressed(Along(event->position()));
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(event);
        owner_->BarMoved(Along(event->position()));
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
        owner_->BarReleased();
    }
    void paintEvent(QPaintEvent*) override {
        if (!owner_->Dragging() || owner_->LiveUpdate()) return;
        QPainter painter(this);
        const QBrush fill(owner_->SplitterColor());
        const int border = owner_->SplitterBorder() != 0 ? 1 : 0;
        if (owner_->SplitterAppearance() == 1) {
            qDrawShadePanel(&painter, rect(), palette(), false, border, &fill);
        } else {
            qDrawPlainRect(&painter, rect(), palette().color(QPalette::WindowText), border, &fill);
        }
    }

private:
    double Along(const QPointF& position) const {
        return owner_->Orientation() == HorizontalBar ? position.y() : position.x();
    }

    Splitter* owner_;
};

Splitter::Splitter(QWidget* parent)
    : QWidget(parent), layout_(PixelsToTwips(10, logicalDpiX())), bar_(new SplitterBar(this)) {}

QString Splitter::Description(const char* propertyName) {
    const std::string_view text = SplitterLayout::Description(propertyName);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void Splitter::SetSplitterAppearance(int value) {
    layout_.SetSplitterAppearance(value);
}

void Splitter::SetSplitterBorder(int value) {
    layout_.SetSplitterBorder(value);
}

QColor Splitter::SplitterColor() const {
    return QColor::fromRgb(layout_.SplitterColor());
}

void Splitter::SetSplitterColor(const QColor& color) {
    if (color.isValid()) layout_.SetSplitterColor(color.rgb() & 0xFFFFFFu);
}

void Splitter::SetOrientation(int value) {
    layout_.SetOrientation(value);
    Replace();
}

void Splitter::SetSplitterSize(int value) {
    if (layout_.SetSplitterSize(value)) Replace();
}

void Splitter::SetRatioFromTop(float value) {
    if (layout_.SetRatioFromTop(value)) Replace();
}

void Splitter::SetChild1(const QString& name) {
    layout_.SetChild1(name.toStdString());
    Replace();
}

void Splitter::SetChild2(const QString& name) {
    layout_.SetChild2(name.toStdString());
    Replace();
}

void Splitter::SetMinSize1(int value) {
    if (layout_.SetMinSize1(value)) Replace();
}

void Splitter::SetMinSize2(int value) {
    if (layout_.SetMinSize2(value)) Replace();
}

void Splitter::SetMinSizeAux(int value) {
    if (layout_.SetMinSizeAux(value)) Replace();
}

void Splitter::SetLiveUpdate(bool value) {
    layout_.SetLiveUpdate(value);
}

QWidget* Splitter::Bar() const {
    return bar_;
}

QWidget* Splitter::FindChild(const QString& name) const {
    if (name.isEmpty()) return nullptr;
    for (QObject* object : children()) {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget == nullptr || widget == bar_) continue;
        if (widget->objectName().compare(name, Qt::CaseInsensitive) == 0) return widget;
    }
    return nullptr;
}

std::map<std::string, std::string> Splitter::SaveProperties() const {
    return layout_.Save();
}

void Splitter::LoadProperties(const std::map<std::string, std::string>& values) {
    layout_.Load(values);
    Replace();
}

void Splitter::Replace() {
    // The size is read here rather than only on resize events, which a hidden
    // widget receives only when it is first shown.
    layout_.SetInnerSize(PixelsToTwips(width(), logicalDpiX()),
                         PixelsToTwips(height(), logicalDpiY()));
    PlaceBar();
    PlaceChildren();
}

void Splitter::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Replace();
}

void Splitter::PlaceBar() {
    if (!layout_.Ready()) return;
    const std::optional<TwipRect> rect = layout_.PlaceBar(layout_.Extent());
    if (!rect) return;
    const bool vertical = layout_.Orientation() == VerticalBar;
    barEdge_ = vertical ? rect->Left : rect->Top;
    bar_->setCursor(vertical ? Qt::SplitHCursor : Qt::SplitVCursor);
    SetGeometryInTwips(bar_, *rect);
    bar_->raise();
}

void Splitter::MoveBar(int edge) {
    barEdge_ = edge;
    const int size = layout_.SplitterSize();
    const int cross = layout_.CrossExtent();
    SetGeometryInTwips(bar_, layout_.Orientation() == VerticalBar ? TwipRect{edge, 0, size, cross}
                                                                  : TwipRect{0, edge, cross, size});
}

void Splitter::PlaceChildren() {
    if (!layout_.Ready()) return;
    QWidget* child1 = FindChild(Child1());
    QWidget* child2 = FindChild(Child2());
    auto isListView = [](QWidget* child) {
        return child != nullptr && child->property("listView").toBool();
    };
    const std::optional<SplitterChildRects> rects =
        layout_.PlaceChildren(barEdge_, layout_.Extent(), isListView(child1), isListView(child2));
    if (rects) {
        if (child1 != nullptr) SetGeometryInTwips(child1, rects->Child1);
        if (child2 != nullptr) SetGeometryInTwips(child2, rects->Child2);
    }
    emit Resize();
}

void Splitter::SetGeometryInTwips(QWidget* widget, const TwipRect& rect) {
    // Edges rather than lengths are rounded, so neighbours that meet in twips
    // meet in pixels too.
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    const int left = TwipsToPixels(rect.Left, dpiX);
    const int top = TwipsToPixels(rect.Top, dpiY);
    widget->setGeometry(left, top, TwipsToPixels(rect.Right(), dpiX) - left,
                        TwipsToPixels(rect.Bottom(), dpiY) - top);
}

double Splitter::AxisTwips(double pixels) const {
    const double dpi = layout_.Orientation() == HorizontalBar ? logicalDpiY() : logicalDpiX();
    return pixels * TwipsPerInch / (dpi > 0 ? dpi : 96.0);
}

void Splitter::BarPressed(double pointerInBarPixels) {
    layout_.BeginDrag(AxisTwips(pointerInBarPixels));
    // Esc must end the drag wherever the keyboard focus is; an application
    // filter sees it on every platform, where a keyboard grab is not offered
    // everywhere.
    qApp->installEventFilter(this);
    bar_->update();
}

void Splitter::BarMoved(double pointerInBarPixels) {
    const std::optional<SplitterDragStep> step =
        layout_.DragTo(AxisTwips(pointerInBarPixels), barEdge_, layout_.Extent());
    if (!step) return;
    MoveBar(step->BarEdge);
    if (step->PlaceChildren) PlaceChildren();
}

void Splitter::BarReleased() {
    PlaceChildren();
    layout_.EndDrag();
    qApp->removeEventFilter(this);
    bar_->update();
}

bool Splitter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && layout_.Dragging() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        CancelDrag();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Splitter::CancelDrag() {
    if (!layout_.CancelDrag()) return;
    qApp->removeEventFilter(this);
    Replace();
    bar_->update();
}

}  // namespace tessaly
