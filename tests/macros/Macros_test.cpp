#include "macros/Macros.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace tessaly;

namespace {

// --- Validation -------------------------------------------------------------

struct ValidationCase {
    std::string macro;
    bool invalid;
    std::string messages;
};

TEST(ValidateMacro, VerdictsAndMessages) {
    const std::string letters31(31, 'A');
    const ValidationCase cases[] = {
        {"{TITLE:Hello}{UPDATE}", false, ""},
        {"{title:x}{ TITLE : x }", false, ""},
        {"{TITEL:x}", true, "Unknown Keyword: 'TITEL:X'\r\n"},
        {"{FOO}", true, "Unknown Keyword: 'FOO'\r\n"},
        {"{TITEL:caf\xE9}", true, "Unknown Keyword: 'TITEL:CAF\xC9'\r\n"},
        {"{TITLE Hello}", true, "Incorrect Syntax: 'TITLEHELLO'\r\n"},
        {"{TITLE}", true, "Incorrect Syntax: 'TITLE'\r\n"},
        // A keyword is recognised by its start: COMMENTS is COMMENT + "S:x".
        {"{COMMENTS:x}", true, "Incorrect Syntax: 'COMMENTS:X'\r\n"},
        {"{UPDATEX}{V2ENABLE}{v1disable}", false, ""},
        {"{V1COMPOSER:x}", true, "Unknown Keyword: 'V1COMPOSER:X'\r\n"},
        {"{V1TITLE:" + letters31 + "}", false, "Incorrect Length: 'V1TITLE:" + letters31 + "'\r\n"},
        {"{TITLE:" + letters31 + "}", false, ""},
        // Spaces do not count: 31 characters with one space fit.
        {"{V1TITLE:" + std::string(15, 'a') + " " + std::string(15, 'a') + "}", false, ""},
        {"{V1TRACK:100}", false, "Invalid Track (v1): 'V1TRACK:100'\r\n"},
        {"{V1TRACK:99}{TRACK:3/12}{V2TRACK:}", false, ""},
        {"{TRACK:1/2/3}", false, "Invalid Track (v2): 'TRACK:1/2/3'\r\n"},
        {"{TRACK:150}", false, "Invalid Track (v2): 'TRACK:150'\r\n"},
        {"{V2TRACK:001/02}", false, "Incorrect Length: 'V2TRACK:001/02'\r\n"},
        {"{YEAR:1899}", false, "Invalid Year: 'YEAR:1899'\r\n"},
        {"{YEAR:}{YEAR:abcd}{YEAR:1900}{V2YEAR:2090}", false, ""},
        {"{V1YEAR:2091}", false, "Invalid Year: 'V1YEAR:2091'\r\n"},
        {"{YEAR:19999}", false, "Invalid Year: 'YEAR:19999'\r\n"},
        {"{V1GENRE:Classic Rock}", false, "Invalid Genre (v1): 'V1GENRE:CLASSICROCK'\r\n"},
        {"{V1GENRE:rock}{GENRE:Nonsense}{V2GENRE:x}", false, ""},
        {"{RENAME:9}", false, "Invalid Rename Number: 'RENAME:9'\r\n"},
        {"{RENAME:10}", false, "Invalid Rename Number: 'RENAME:10'\r\n"},
        {"{RENAME:1}{RENAME:8}", false, ""},
        {"abc{UPDATE}def", false, "Unrecognized characters between tags: 'abcdef'\r\n"},
        {"a b}{UPDATE", false, "Unrecognized characters between tags: 'ab}'\r\n"},
        // A "{" inside a command belongs to it.
        {"{A{UPDATE}", true, "Unknown Keyword: 'A{UPDATE'\r\n"},
        // Messages come in the order found; stray text last.
        {"x{FOO}{V1YEAR:1}y", true,
         "Unknown Keyword: 'FOO'\r\nInvalid Year: 'V1YEAR:1'\r\n"
         "Unrecognized characters between tags: 'xy'\r\n"},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        MacroVerdict verdict = ValidateMacro(c.macro);
        EXPECT_EQ(verdict.Invalid, c.invalid) << c.macro;
        EXPECT_EQ(verdict.Messages, c.messages) << c.macro;
        std::string joined;
        for (const auto& line : verdict.Lines) joined += line + "\r\n";
        EXPECT_EQ(joined, verdict.Messages);
    }
}

TEST(ValidateMacro, NearMissesNameTheLikelyForm) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"{TITLE=x}", {"did you mean {TITLE:x}?"}},
        {"{v1Artist;Abba}{ UPDTE }", {"did you mean {v1Artist:Abba}?", "did you mean {UPDATE}?"}},
        {"{V2TITEL:Live}", {"did you mean {V2TITLE:Live}?"}},
        {"{GENRE}", {"did you mean {GENRE:value}?"}},
        {"{FOO}{XYZZY:1}{TITLE:x}", {}},  // nothing near, or nothing wrong
    };
    for (const auto& [macro, hints] : cases) EXPECT_EQ(ValidateMacro(macro).Hints, hints) << macro;
}

TEST(MatchMacroKeyword, FirstRowAndTestWin) {
    auto match = MatchMacroKeyword("V1TOV2");
    ASSERT_TRUE(match);
    EXPECT_EQ(match->Keyword, MacroKeywordId::V1ToV2);
    EXPECT_EQ(match->Version, 0);
    match = MatchMacroKeyword("V2GENRE:X");
    ASSERT_TRUE(match);
    EXPECT_EQ(match->Keyword, MacroKeywordId::Genre);
    EXPECT_EQ(match->Version, 2);
    EXPECT_EQ(match->Length, 7u);
    EXPECT_FALSE(MatchMacroKeyword(" TITLE:X"));
    EXPECT_FALSE(MatchMacroKeyword("V3TITLE"));
    EXPECT_EQ(MacroKeywords().size(), 23u);
}

TEST(ScanMacroCommands, BracesAsARunReadsThem) {
    using Commands = std::vector<std::string>;
    EXPECT_EQ(ScanMacroCommands("x{ Title:a }y{UPDATE}"), (Commands{" Title:a ", "UPDATE"}));
    // "{" restarts; an open command at the end is dropped; "}" outside is text.
    EXPECT_EQ(ScanMacroCommands("{A{B}}c{D"), (Commands{"B"}));
    EXPECT_EQ(ScanMacroCommands("{}"), (Commands{""}));
}

// --- Running ------------------------------------------------------------------

// Records what a macro does, and plays the editor's gates: Mixed Case and
// Rename by Tags need a loaded file with at least one tag version ticked, as
// the editor state has it after a click on a check box.
class FakeEditor : public MacroTarget {
public:
    void SetBoxText(int version, FieldNumber field, const std::string& text) override {
        calls.push_back("v" + std::to_string(version) + "box" + std::to_string(field) + "=" + text);
    }
    void SelectV1Genre(const std::string& name) override { calls.push_back("v1genre=" + name); }
    void SetTagEnabled(int version, bool enabled) override {
        (version == 1 ? v1 : v2) = enabled;
        calls.push_back("v" + std::to_string(version) + (enabled ? "on" : "off"));
    }
    bool IsGateOpen(MacroGate gate) const override {
        switch (gate) {
            case MacroGate::V1Enabled:
                return v1;
            case MacroGate::V2Enabled:
                return v2;
            case MacroGate::MixedCase:
            case MacroGate::FileByTags:
                return loaded && (v1 || v2);
            default:
                return loaded && !closed.count(gate);
        }
    }
    void MixedCasePanes() override { calls.push_back("mixedcase"); }
    void UpdateFromPanes() override { calls.push_back("update"); }
    void CopyV1ToV2() override { calls.push_back("v1tov2"); }
    void CopyV2ToV1() override { calls.push_back("v2tov1"); }
    void RenameCurrentFile() override { calls.push_back("filebytags"); }
    int RenamePatternCount() const override { return patterns; }
    void RenameByPattern(int index) override { calls.push_back("rename" + std::to_string(index)); }
    void TagsFromFileName() override { calls.push_back("tagsbyfile"); }
    void Undo() override { calls.push_back("undo"); }
    void PlaySelectedFile() override { calls.push_back("play"); }

    bool loaded = true;
    bool v1 = true;
    bool v2 = true;
    int patterns = 3;
    std::map<MacroGate, bool> closed;
    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

struct EffectCase {
    const char* macro;
    Calls calls;
};

TEST(RunMacro, EffectsOfEachKeyword) {
    const EffectCase cases[] = {
        {"{V2TITLE:Live}{V1DISABLE}{UPDATE}", {"v2box3=Live", "v1off", "update"}},
        {"{GENRE:rock}", {"v1genre=rock", "v2box6=rock"}},
        {"{V1GENRE:Rock}{V2GENRE: Free text }", {"v1genre=Rock", "v2box6=Free text"}},
        {"{TRACK:3/12}{V1YEAR:1999}", {"v1box4=3/12", "v2box4=3/12", "v1box5=1999"}},
        {"{artist:MiXeD Case}{ALBUM:}",
         {"v1box1=MiXeD Case", "v2box1=MiXeD Case", "v1box2=", "v2box2="}},
        {"{COMMENT:c}{COMPOSER:b}{ORIGARTIST:o}{COPYRIGHT:c}{URL:u}{ENCODER:e}",
         {"v1box7=c", "v2box7=c", "v2box8=b", "v2box9=o", "v2box10=c", "v2box11=u", "v2box12=e"}},
        {"{ENABLE}{V2DISABLE}{V1ENABLE}", {"v1on", "v2on", "v2off", "v1on"}},
        {"{DISABLE}", {"v1off", "v2off"}},
        // Values keep their case and inner spaces; a ":" may be in the value.
        {"{TITLE:  a:b  c }", {"v1box3=a:b  c", "v2box3=a:b  c"}},
        {"{MIXEDCASE}{V1TOV2}{V2TOV1}{FILEBYTAGS}{TAGSBYFILE}{UNDO}{PLAY}",
         {"mixedcase", "v1tov2", "v2tov1", "filebytags", "tagsbyfile", "undo", "play"}},
        // RENAME n: pattern n from 1; no pattern n, nothing.
        {"{RENAME:2}{RENAME:3}{RENAME:4}{RENAME:9}{RENAME: 1 }", {"rename1", "rename2", "rename0"}},
        // Passes validation with its spaces removed, but matches nothing as written.
        {"{ TITLE:x}", {}},
        // Warnings do not stop a macro; stray text is ignored.
        {"junk{V1TRACK:100}{UPDATE}", {"v1box4=100", "update"}},
    };
    for (const auto& c : cases) {
        FakeEditor editor;
        MacroRunResult result = RunMacro(c.macro, editor);
        EXPECT_FALSE(result.Failed) << c.macro;
        EXPECT_EQ(editor.calls, c.calls) << c.macro;
    }
}

TEST(RunMacro, ClosedGatesSkipTheirCommands) {
    struct GateCase {
        const char* macro;
        MacroGate gate;
        const char* call;
    };
    const GateCase cases[] = {
        {"{UPDATE}", MacroGate::Update, "update"},
        {"{TAGSBYFILE}", MacroGate::TagsByFile, "tagsbyfile"},
        {"{UNDO}", MacroGate::Undo, "undo"},
        {"{PLAY}", MacroGate::Play, "play"},
    };
    for (const auto& c : cases) {
        FakeEditor editor;
        EXPECT_EQ(RunMacro(c.macro, editor).Commands[0].Status, CommandStatus::Ran);
        EXPECT_EQ(editor.calls, Calls{c.call});

        editor.calls.clear();
        editor.closed[c.gate] = true;
        MacroRunResult result = RunMacro(c.macro, editor);
        EXPECT_TRUE(editor.calls.empty()) << c.macro;
        ASSERT_EQ(result.Commands.size(), 1u);
        EXPECT_EQ(result.Commands[0].Status, CommandStatus::Skipped);
        EXPECT_EQ(result.Commands[0].Gate, c.gate);
        EXPECT_TRUE(result.AnySkipped());
        EXPECT_FALSE(MacroGateReason(c.gate).empty());
    }
}

TEST(RunMacro, ACheckBoxChangeOpensAndClosesLaterGates) {
    FakeEditor editor;
    MacroRunResult result = RunMacro(
        "{V1DISABLE}{V1TOV2}{V2TOV1}{DISABLE}{MIXEDCASE}{FILEBYTAGS}{RENAME:1}"
        "{V1ENABLE}{V1TOV2}{MIXEDCASE}{RENAME:1}",
        editor);
    EXPECT_EQ(editor.calls, (Calls{"v1off", "v2tov1", "v1off", "v2off", "v1on", "v1tov2",
                                   "mixedcase", "rename0"}));
    using S = CommandStatus;
    std::vector<std::pair<S, MacroGate>> outcomes;
    for (const auto& c : result.Commands) outcomes.emplace_back(c.Status, c.Gate);
    EXPECT_EQ(outcomes, (std::vector<std::pair<S, MacroGate>>{
                            {S::Ran, MacroGate::None},
                            {S::Skipped, MacroGate::V1Enabled},
                            {S::Ran, MacroGate::None},
                            {S::Ran, MacroGate::None},
                            {S::Skipped, MacroGate::MixedCase},
                            {S::Skipped, MacroGate::FileByTags},
                            {S::Skipped, MacroGate::FileByTags},  // RENAME shares the gate
                            {S::Ran, MacroGate::None},
                            {S::Ran, MacroGate::None},
                            {S::Ran, MacroGate::None},
                            {S::Ran, MacroGate::None},
                        }));
    EXPECT_EQ(MacroGateControl(MacroGate::V1Enabled), "v1enabled");
    EXPECT_EQ(MacroGateControl(MacroGate::FileByTags), "mnuToolsFileByTags");
}

TEST(RunMacro, AnInvalidMacroShowsTheErrorAndRunsNothing) {
    testsupport::RecordingHost host;
    FakeEditor editor;
    MacroRunResult result = RunMacro("{TITLE:x}{FOO}{UPDATE}", editor);
    EXPECT_TRUE(result.Failed);
    EXPECT_TRUE(editor.calls.empty());
    EXPECT_TRUE(result.Commands.empty());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Macro Error: Unknown Keyword: 'FOO'\r\n");
    EXPECT_EQ(host.messages[0].caption, "Tessaly");
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::OK);

    // Warnings alone show nothing.
    result = RunMacro("x{UPDATE}", editor);
    EXPECT_FALSE(result.Failed);
    EXPECT_EQ(result.Verdict.Lines.size(), 1u);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST(ExecuteCommand, ReportsWhatHappened) {
    FakeEditor editor;
    EXPECT_EQ(ExecuteCommand("FOO", editor).Status, CommandStatus::NoKeyword);
    EXPECT_EQ(ExecuteCommand(" UPDATE", editor).Status, CommandStatus::NoKeyword);
    EXPECT_EQ(ExecuteCommand("RENAME:4", editor).Status, CommandStatus::NoEffect);
    EXPECT_EQ(ExecuteCommand("RENAME:1.5", editor).Status, CommandStatus::NoEffect);
    EXPECT_EQ(ExecuteCommand("RENAME:0", editor).Status, CommandStatus::NoEffect);
    // Without the ":" (never past validation) the value is simply empty.
    EXPECT_EQ(ExecuteCommand("V2TITLE", editor).Status, CommandStatus::Ran);
    EXPECT_EQ(ExecuteCommand("update", editor).Status, CommandStatus::Ran);
    EXPECT_EQ(editor.calls, (Calls{"v2box3=", "update"}));
}

// --- Hot keys -----------------------------------------------------------------

TEST(DispatchHotKey, RunsTheFirstMacroBoundToTheKey) {
    std::vector<MacroRow> table = {
        {"{V1TITLE:first}", 113, 0},
        {"{V1TITLE:shifted}", 113, 1},
        {"{V1TITLE:second}", 113, 0},
    };
    FakeEditor editor;
    ASSERT_TRUE(DispatchHotKey(table, 113, 0, editor));
    ASSERT_TRUE(DispatchHotKey(table, 113, 1, editor));
    EXPECT_FALSE(DispatchHotKey(table, 113, 2, editor));
    EXPECT_FALSE(DispatchHotKey(table, 114, 0, editor));
    EXPECT_EQ(editor.calls, (Calls{"v1box3=first", "v1box3=shifted"}));
    EXPECT_EQ(FindMacroForKey(table, 113, 0), &table[0]);
    EXPECT_EQ(FindMacroForKey({}, 113, 0), nullptr);
}

TEST(DispatchHotKey, DefaultMacrosFollowTheirGates) {
    FakeEditor editor;
    DispatchHotKey(DefaultMacros, 117, 0, editor);  // F6
    DispatchHotKey(DefaultMacros, 27, 0, editor);   // Esc
    DispatchHotKey(DefaultMacros, 115, 0, editor);  // F4
    EXPECT_EQ(editor.calls, (Calls{"update", "undo", "filebytags"}));

    editor.calls.clear();
    editor.loaded = false;
    for (int key : {115, 117, 120, 27}) DispatchHotKey(DefaultMacros, key, 0, editor);
    EXPECT_TRUE(editor.calls.empty());
}

}  // namespace
