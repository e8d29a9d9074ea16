// Where Help ▸ Online Help and Help ▸ Technical Support lead.
#pragma once

#include <QStringList>
#include <QUrl>

namespace tessaly {

// The places the help page is looked for, in order: the installed page
// relative to the program (BINDIR/../share/doc/tessaly/help/index.html as
// installed, which is also where the build tree keeps its copy beside
// build/bin), the build tree's copy by its absolute path, and the page in
// the source tree. Needs the application object (for the program's folder).
QStringList HelpPageCandidates();

// A file:// URL of the first of HelpPageCandidates() that exists; an empty
// URL when none does.
QUrl OnlineHelpUrl();

// The project's issue page.
QUrl TechnicalSupportUrl();

// The project's releases, where a newer version would be: Help > Check for Update.
QUrl ReleasesUrl();

}  // namespace tessaly
