#include "macros/MacroTarget.h"

namespace tessaly {

std::string MacroGateControl(MacroGate gate) {
    switch (gate) {
        case MacroGate::None:
            return "";
        case MacroGate::MixedCase:
            return "mnuToolsCvtMixed";
        case MacroGate::Update:
            return "cmdUpdate";
        case MacroGate::V1Enabled:
            return "v1enabled";
        case MacroGate::V2Enabled:
            return "v2enabled";
        case MacroGate::FileByTags:
            return "mnuToolsFileByTags";
        case MacroGate::TagsByFile:
            return "mnuToolsTagsByFile";
        case MacroGate::Undo:
            return "cmdUndo";
        case MacroGate::Play:
            return "play";
    }
    return "";
}

std::string MacroGateReason(MacroGate gate) {
    switch (gate) {
        case MacroGate::None:
            return "";
        case MacroGate::MixedCase:
            return "Convert Tags to Mixed Case is disabled for this file";
        case MacroGate::Update:
            return "Update is disabled for this file";
        case MacroGate::V1Enabled:
            return "the ID3v1 tag is not enabled";
        case MacroGate::V2Enabled:
            return "the ID3v2 tag is not enabled";
        case MacroGate::FileByTags:
            return "Rename file based on tags is disabled for this file";
        case MacroGate::TagsByFile:
            return "Tags by filename is disabled for this file";
        case MacroGate::Undo:
            return "Undo is disabled for this file";
        case MacroGate::Play:
            return "Play is disabled for this file";
    }
    return "";
}

}  // namespace tessaly
