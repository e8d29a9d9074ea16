#include "ui/Icons.h"

#include <QHash>

#include <span>

namespace tessaly {

namespace {

// The toolbar keys and the freedesktop icon names of the same commands.
// Only the freedesktop standard icon names are used: the list styles,
// pattern and tag commands have none, and themes that name them do so
// differently, which would leave the buttons of one group mismatched.
const QHash<QString, QString>& ToolbarThemeNames() {
    static const QHash<QString, QString> names = {
        {"options", "preferences-system"},
        {"cut", "edit-cut"},
        {"copy", "edit-copy"},
        {"paste", "edit-paste"},
        {"delete", "edit-delete"},
        {"filebytags", ""},
        {"tagsbyfile", ""},
        {"v1tov2", ""},
        {"v2tov1", ""},
        {"cvtmixed", ""},
        {"vwLargeIcons", ""},
        {"vwSmallIcons", ""},
        {"vwList", ""},
        {"vwDetails", ""},
        {"play", "media-playback-start"},
        {"help", "help-contents"},
    };
    return names;
}

QIcon Bundled(const QString& name, std::span<const int> sizes) {
    QIcon icon;
    for (int size : sizes) icon.addFile(IconResourcePath(name, size), QSize(size, size));
    return icon;
}

constexpr int ToolbarSizes[] = {16, 24, 32, 48};
constexpr int HeaderSizes[] = {16, 32};
constexpr int AppSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace

QString IconResourcePath(const QString& name, int size) {
    return QStringLiteral(":/tessaly/icons/%1/%2.png").arg(size).arg(name);
}

QIcon ToolbarIcon(const QString& key) {
    const auto found = ToolbarThemeNames().constFind(key);
    if (found == ToolbarThemeNames().constEnd()) return {};
    QIcon ours = Bundled(key, ToolbarSizes);
    return found->isEmpty() ? ours : QIcon::fromTheme(*found, ours);
}

QIcon HeaderIcon(const QString& key) {
    if (key != QLatin1String("downarrow") && key != QLatin1String("uparrow") &&
        key != QLatin1String("blank"))
        return {};
    return Bundled(key, HeaderSizes);
}

QIcon AppIcon() {
    return QIcon::fromTheme(QStringLiteral("tessaly"), Bundled(QStringLiteral("tessaly"), AppSizes));
}

}  // namespace tessaly
