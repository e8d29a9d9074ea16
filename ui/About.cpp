#include "ui/About.h"

#include "TessalyVersion.h"
#include "engine/Host.h"
#include "settings/CRegSettings.h"
#include "ui/Icons.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>
#include <vector>

namespace tessaly {

namespace {

constexpr const char* Disclaimer =
    "Tessaly is protected by copyright law. Copying or passing on this program, or any "
    "part of it, without the permission of its copyright holders is not allowed and may "
    "lead to civil and criminal penalties.";

constexpr const char* MsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* SharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

std::vector<std::string> SplitVersion(const std::string& version) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= version.size()) {
        size_t dot = version.find('.', start);
        if (dot == std::string::npos) dot = version.size();
        parts.push_back(dot > start ? version.substr(start, dot - start) : std::string(1, '0'));
        start = dot + 1;
    }
    return parts;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Names every widget the way the window's tests and assistive tools find it:
// the object name and accessible description are its name, the accessible
// name is what the user reads on it.
void Name(QWidget* widget, const char* name, const QString& accessibleName) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleDescription(QString::fromLatin1(name));
    widget->setAccessibleName(accessibleName);
}

QFrame* SeparatorLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    Name(line, "Line1", QString());
    return line;
}

}  // namespace

std::string AboutVersionText(const std::string& version) {
    std::vector<std::string> parts = SplitVersion(version);
    // A Windows file version has four parts and the third (the build) is not
    // shown; a three-part version has no build part to skip.
    if (parts.size() >= 4) parts.erase(parts.begin() + 2);
    parts.resize(3, "0");
    return "Version " + parts[0] + "." + parts[1] + "." + parts[2];
}

bool StartSystemInformation(CRegSettings& settings,
                            const std::function<bool(const std::string& program)>& start) {
    std::vector<std::string> candidates;
    const std::string recorded = settings.GetSetting(RegistryRoot::LocalMachine, MsInfoKey, "PATH");
    if (!recorded.empty()) candidates.push_back(recorded);
    const std::string folder =
        settings.GetSetting(RegistryRoot::LocalMachine, SharedToolsKey, "MSINFO");
    if (!folder.empty() && FileExists(folder + "\\MSINFO32.EXE"))
        candidates.push_back(folder + "\\MSINFO32.EXE");
    // A recorded program that no longer starts must not swallow the click:
    // the next candidate is tried, and at the end the user is told.
    for (const std::string& program : candidates)
        if (start(program)) return true;
    return false;
}

About::About(CRegSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
    const QString title = QString::fromUtf8(AppTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    setModal(true);

    picIcon_ = new QLabel(this);
    Name(picIcon_, "picIcon", title);
    const int iconSize = 48;
    picIcon_->setPixmap(AppIcon().pixmap(QSize(iconSize, iconSize), devicePixelRatioF()));
    picIcon_->setFixedSize(iconSize, iconSize);

    lblTitle_ = new QLabel(title, this);
    Name(lblTitle_, "lblTitle", title);
    QFont titleFont = lblTitle_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle_->setFont(titleFont);

    const QString version = QString::fromStdString(AboutVersionText(TessalyVersion));
    lblVersion_ = new QLabel(version, this);
    Name(lblVersion_, "lblVersion", version);

    const QString copyright = QString::fromUtf8(TessalyCopyright);
    lblCopyright_ = new QLabel(copyright, this);
    Name(lblCopyright_, "lblCopyright", copyright);

    const QString disclaimer = QString::fromUtf8(Disclaimer);
    lblDisclaimer_ = new QLabel(disclaimer, this);
    Name(lblDisclaimer_, "lblDisclaimer", disclaimer);
    lblDisclaimer_->setWordWrap(true);
    // Wide enough for a few even lines at any font size or screen scale.
    lblDisclaimer_->setMinimumWidth(lblDisclaimer_->fontMetrics().averageCharWidth() * 56);

    line1Top_ = SeparatorLine(this);
    line1Bottom_ = SeparatorLine(this);

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    Name(cmdOK_, "cmdOK", QStringLiteral("OK"));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    cmdSysInfo_ = new QPushButton(QStringLiteral("&System Info..."), this);
    Name(cmdSysInfo_, "cmdSysInfo", QStringLiteral("System Info..."));
    connect(cmdSysInfo_, &QPushButton::clicked, this, &About::cmdSysInfo_Click);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle_);
    texts->addWidget(lblVersion_);
    texts->addWidget(lblCopyright_);
    texts->addStretch();

    auto* header = new QHBoxLayout;
    header->setSpacing(16);
    header->addWidget(picIcon_, 0, Qt::AlignTop);
    header->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSysInfo_);
    buttons->addWidget(cmdOK_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(line1Top_);
    layout->addWidget(lblDisclaimer_);
    layout->addWidget(line1Bottom_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    cmdOK_->setFocus();
}

void About::cmdSysInfo_Click() {
    const bool started = StartSystemInformation(settings_, [](const std::string& program) {
        return QProcess::startDetached(QString::fromStdString(program));
    });
    if (!started)
        CurrentHost().ShowMessage(SystemInfoUnavailableText, AppTitle, MessageIcon::None,
                                  MessageButtons::OK);
}

}  // namespace tessaly
