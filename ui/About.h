// The About box: the program's icon, name, version and copyright notice, and
// a button that starts the system's System Information program where one is
// recorded in the settings store.
#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QFrame;

namespace tessaly {

class CRegSettings;

// "Version major.minor.revision" of a dotted version text. A four-part file
// version skips its third part (3.4.0.9 reads "Version 3.4.9"); a three-part
// version (major.minor.patch) reads as it is; missing parts read as 0.
std::string AboutVersionText(const std::string& version);

// Where the System Information program is recorded: the value "PATH" of
// "SOFTWARE\Microsoft\Shared Tools\MSINFO", else the value "MSINFO" of
// "SOFTWARE\Microsoft\Shared Tools Location" + "\MSINFO32.EXE" when that
// file exists (both under HKEY_LOCAL_MACHINE). Each candidate is handed to
// `start` in that order until one starts. Returns false when none did; the
// caller then tells the user.
bool StartSystemInformation(CRegSettings& settings,
                            const std::function<bool(const std::string& program)>& start);

// The message shown when no System Information program could be started.
inline constexpr const char* SystemInfoUnavailableText =
    "System Information Is Unavailable At This Time";

class About : public QDialog {
    Q_OBJECT

public:
    // `settings` must outlive the dialog.
    explicit About(CRegSettings& settings, QWidget* parent = nullptr);

private slots:
    void cmdSysInfo_Click();

private:
    CRegSettings& settings_;
    QLabel* picIcon_;
    QLabel* lblTitle_;
    QLabel* lblVersion_;
    QLabel* lblCopyright_;
    QLabel* lblDisclaimer_;
    QFrame* line1Top_;
    QFrame* line1Bottom_;
    QPushButton* cmdOK_;
    QPushButton* cmdSysInfo_;
};

}  // namespace tessaly
