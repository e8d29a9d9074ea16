// The program's images: the toolbar buttons, the file list's column header
// arrows and the application icon. Each is bundled with the program as PNGs
// at the sizes it is drawn (16, 24, 32, 48 pixels), so nothing beyond Qt's
// own image formats is needed at run time; the desktop's icon theme is
// preferred where it has a standard icon for the same command.
#pragma once

#include <QIcon>
#include <QString>

namespace tessaly {

// The resource path of a bundled image: ":/tessaly/icons/SIZE/NAME.png".
QString IconResourcePath(const QString& name, int size);

// The image of a toolbar button by its key ("options", "cut", "copy", "paste",
// "delete", "filebytags", "tagsbyfile", "v1tov2", "v2tov1", "cvtmixed",
// "vwLargeIcons", "vwSmallIcons", "vwList", "vwDetails", "play", "help"): the
// theme's icon of that command where there is a standard one, else ours. A
// null icon for any other key.
QIcon ToolbarIcon(const QString& key);

// A column header image by key: "downarrow", "uparrow" or "blank" (a
// transparent image that keeps the header's text in place). A null icon for
// any other key.
QIcon HeaderIcon(const QString& key);

// The application icon "tessaly" (the theme's, once installed, else ours).
QIcon AppIcon();

}  // namespace tessaly
