// Names a widget for scripted tests and for screen readers: Qt 6.4 exports no
// object names over AT-SPI, so the control's name also goes into its
// accessible description; its accessible name stays its caption or label.
#pragma once

#include <QWidget>

namespace tessaly {

inline void NameWidget(QWidget* widget, const char* name) {
    widget->setObjectName(name);
    widget->setAccessibleDescription(name);
}

}  // namespace tessaly
