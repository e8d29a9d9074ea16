#include "ui/HelpPages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace tessaly {

QStringList HelpPageCandidates() {
    // The build bakes in the page's path relative to the binaries' folder
    // (the same below the install prefix and in the build tree) and the two
    // absolute fallbacks, so a program run from anywhere in a checkout still
    // finds its page.
    return {
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                        QStringLiteral(TESSALY_HELP_FROM_BINDIR)),
        QStringLiteral(TESSALY_HELP_BUILD_PAGE),
        QStringLiteral(TESSALY_HELP_SOURCE_PAGE),
    };
}

QUrl OnlineHelpUrl() {
    for (const QString& page : HelpPageCandidates())
        if (QFileInfo(page).isFile()) return QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath());
    return {};
}

QUrl TechnicalSupportUrl() {
    return QUrl(QStringLiteral("https://github.com/tessaly/tessaly/issues"));
}

QUrl ReleasesUrl() { return QUrl(QStringLiteral("https://github.com/tessaly/tessaly/releases")); }

}  // namespace tessaly
