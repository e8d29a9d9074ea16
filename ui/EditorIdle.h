// The window's one rule for reaching the editor from an event: never while an
// operation of the editor runs. Events that arrive meanwhile (a timer, a
// finished listing, a queued click) wait and are handled once it is done.
#pragma once

#include "editor/TagEditor.h"

#include <QObject>

#include <functional>

namespace tessaly {

// Runs `action` now when the editor is idle, else as soon as it is; dropped
// when `context` is destroyed first.
void WhenEditorIdle(const TagEditor& editor, QObject* context, std::function<void()> action);

}  // namespace tessaly
