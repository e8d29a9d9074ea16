#include "ui/EditorIdle.h"

#include <QPointer>
#include <QTimer>

namespace tessaly {

void WhenEditorIdle(const TagEditor& editor, QObject* context, std::function<void()> action) {
    if (!editor.IsChanging()) {
        action();
        return;
    }
    // The operation is on the stack below us; try again after it returned.
    QPointer<QObject> guard(context);
    QTimer::singleShot(10, context, [&editor, guard, action = std::move(action)]() mutable {
        if (guard) WhenEditorIdle(editor, guard, std::move(action));
    });
}

}  // namespace tessaly
