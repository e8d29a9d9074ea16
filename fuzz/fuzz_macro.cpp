// Macros on arbitrary input: validation, both scans, and a run against an
// editor that only counts what it is asked to do.
#include "macros/Macros.h"

#include "engine/Host.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace tessaly;

namespace {

class SilentHost : public Host {
public:
    MessageAnswer ShowMessage(const std::string&, const std::string&, MessageIcon,
                              MessageButtons) override {
        return MessageAnswer::OK;
    }
    void ShowProgress(const std::string&) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
    void ProcessPendingMessages() override {}
    bool OpenWithDesktop(const std::string&) override { return false; }
};

class CountingEditor : public MacroTarget {
public:
    void SetBoxText(int version, FieldNumber field, const std::string&) override {
        // The run must never address a box the editor does not have.
        if ((version != 1 && version != 2) || field < FieldArtist || field > FieldEncoder ||
            (version == 1 && (field > FieldComment || field == FieldGenre)))
            __builtin_trap();
        ++calls;
    }
    void SelectV1Genre(const std::string&) override { ++calls; }
    void SetTagEnabled(int version, bool enabled) override {
        if (version != 1 && version != 2) __builtin_trap();
        (version == 1 ? v1 : v2) = enabled;
    }
    bool IsGateOpen(MacroGate gate) const override {
        if (gate == MacroGate::V1Enabled) return v1;
        if (gate == MacroGate::V2Enabled) return v2;
        return (calls & 1) == 0;
    }
    void MixedCasePanes() override { ++calls; }
    void UpdateFromPanes() override { ++calls; }
    void CopyV1ToV2() override { ++calls; }
    void CopyV2ToV1() override { ++calls; }
    void RenameCurrentFile() override { ++calls; }
    int RenamePatternCount() const override { return 5; }
    void RenameByPattern(int index) override {
        if (index < 0 || index >= 5) __builtin_trap();
        ++calls;
    }
    void TagsFromFileName() override { ++calls; }
    void Undo() override { ++calls; }
    void PlaySelectedFile() override { ++calls; }

    bool v1 = true;
    bool v2 = true;
    unsigned calls = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static SilentHost host;
    SetHost(&host);
    std::string text(reinterpret_cast<const char*>(data), size);

    MacroVerdict verdict = ValidateMacro(text);
    CountingEditor editor;
    MacroRunResult result = RunMacro(text, editor);
    if (result.Failed != verdict.Invalid) __builtin_trap();
    for (const std::string& command : ScanMacroCommands(text)) ExecuteCommand(command, editor);

    std::vector<MacroRow> table = {{text, 112, 0}, {"{UPDATE}", 112, 0}};
    DispatchHotKey(table, 112, 0, editor);
    return 0;
}
