// The OK and Cancel buttons both small editors end with: Command1 and
// Command2, at the right of their row, OK the default.
#pragma once

#include "ui/Accessible.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace tessaly {

inline QHBoxLayout* MakeOkCancelRow(QWidget* dialog, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton("OK", dialog);
    NameWidget(ok, "Command1");
    ok->setDefault(true);
    cancel = new QPushButton("Cancel", dialog);
    NameWidget(cancel, "Command2");
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace tessaly
