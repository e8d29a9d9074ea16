// What a window needs to bind to the editor: rows announced one by one,
// listeners that can go, no re-entry while an operation runs, and listings
// that run on another thread and are dropped when superseded.
#include "editor/TagEditor.h"

#include "editor/EditorTestFiles.h"
#include "engine/FileIO.h"
#include "settings/SettingsTestSupport.h"
#include "settings/Startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>

#include <unistd.h>

using namespace tessaly;
using editortest::MP3;
using editortest::Text;
using testsupport::WriteBytes;

namespace {

// Notes whether the editor said it was changing each time it reached the host.
class WatchingHost : public testsupport::RecordingHost {
public:
    void ShowProgress(const std::string& caption) override {
        RecordingHost::ShowProgress(caption);
        Note();
    }
    tessaly::MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                       MessageIcon icon, MessageButtons buttons) override {
        Note();
        return RecordingHost::ShowMessage(text, caption, icon, buttons);
    }
    void Note() { changingSeen.push_back(editor && editor->IsChanging()); }

    const TagEditor* editor = nullptr;
    std::vector<bool> changingSeen;
};

class TagEditorBindingTest : public ::testing::Test {
protected:
    TagEditorBindingTest() {
        std::filesystem::current_path(dir_.Path());
        host_.editor = &editor_;
        listener_ = editor_.AddListener([this](const EditorEvent& e) { events_.push_back(e); });
    }
    ~TagEditorBindingTest() override { std::filesystem::current_path(previous_); }

    std::string Put(const std::string& name) {
        WriteBytes(dir_.File(name), MP3(Text("TIT2", name)));
        return dir_.File(name);
    }
    std::vector<EditorEventKind> Kinds() const {
        std::vector<EditorEventKind> kinds;
        for (const EditorEvent& e : events_) kinds.push_back(e.Kind);
        return kinds;
    }

    std::filesystem::path previous_ = std::filesystem::current_path();
    testsupport::TempDir dir_;
    WatchingHost host_;
    std::unique_ptr<CRegSettings> store_ = OpenSettings(dir_.File("s.reg"));
    Configuration config_ = LoadConfiguration(*store_);
    TagEditor editor_{config_, *store_};
    std::vector<EditorEvent> events_;
    int listener_ = 0;
};

TEST_F(TagEditorBindingTest, RenameAndDeleteAnnounceTheirRowAndARemovedListenerHearsNothing) {
    Put("a.mp3");
    const std::string b = Put("b.mp3");
    Put("c.mp3");
    ASSERT_TRUE(editor_.OpenFile(b));
    ASSERT_EQ(editor_.Files().Selected(), 1);

    events_.clear();
    ASSERT_TRUE(editor_.FinishRename("bb.mp3"));
    ASSERT_FALSE(events_.empty());
    EXPECT_EQ(events_[0].Kind, EditorEventKind::RowChanged);
    EXPECT_EQ(events_[0].Row, 1);
    EXPECT_EQ(editor_.Files().Rows()[1].Text, "bb.mp3");

    events_.clear();
    host_.answer = MessageAnswer::Yes;
    ASSERT_TRUE(editor_.DeleteSelectedFile());
    ASSERT_GE(events_.size(), 2u);
    EXPECT_EQ(events_[0].Kind, EditorEventKind::RowRemoved);
    EXPECT_EQ(events_[0].Row, 1);
    EXPECT_EQ(events_[1].Kind, EditorEventKind::SelectionChanged);
    EXPECT_EQ(editor_.Files().Rows().size(), 2u);

    // Every call of the host came while the editor said it was changing.
    ASSERT_FALSE(host_.changingSeen.empty());
    for (bool changing : host_.changingSeen) EXPECT_TRUE(changing);
    EXPECT_FALSE(editor_.IsChanging());

    editor_.RemoveListener(listener_);
    events_.clear();
    editor_.SelectRow(0);
    EXPECT_TRUE(events_.empty());
}

TEST_F(TagEditorBindingTest, AListingRunsOnAnotherThreadAndASupersededOneIsDropped) {
    std::filesystem::create_directories(dir_.File("one"));
    std::filesystem::create_directories(dir_.File("two"));
    Put("one/x.mp3");
    Put("two/y.mp3");
    Put("two/z.mp3");
    // A file that cannot be opened gets its row and a message, shown only
    // when the listing is finished on the editor's thread.
    const std::string locked = Put("two/locked.mp3");
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    const bool rootReadsAnything = ::access(locked.c_str(), R_OK) == 0;

    auto first = editor_.RequestFolder(dir_.File("one"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(editor_.ListingPending());
    EXPECT_TRUE(editor_.Files().Empty());  // the old rows are gone at once
    auto second = editor_.RequestFolder(dir_.File("two"));
    ASSERT_TRUE(second);
    EXPECT_TRUE(first->Cancelled->load());
    EXPECT_FALSE(editor_.RequestFolder(dir_.File("two")));  // unchanged: nothing to list

    ListingResult late = std::async(std::launch::async, RunListing, *first).get();
    ListingResult current = std::async(std::launch::async, RunListing, *second).get();
    EXPECT_TRUE(host_.messages.empty());  // nothing reached this thread's host

    events_.clear();
    EXPECT_FALSE(editor_.FinishListing(std::move(late)));
    EXPECT_TRUE(events_.empty());
    EXPECT_TRUE(editor_.FinishListing(std::move(current)));
    EXPECT_FALSE(editor_.ListingPending());
    ASSERT_EQ(editor_.Files().Rows().size(), 3u);
    EXPECT_EQ(editor_.Files().Rows()[1].Text, "y.mp3");
    EXPECT_EQ(editor_.CurrentFolder(), dir_.File("two") + "/");
    if (!rootReadsAnything) {
        ASSERT_EQ(host_.messages.size(), 1u);
        EXPECT_EQ(host_.messages[0].text.rfind("Error Opening File '" + locked + "'", 0), 0u);
        EXPECT_EQ(editor_.UnreadableFiles(), 1);
    }

    // A refresh lists the same folder again; a cancelled one is dropped.
    ListingRequest refresh = editor_.RequestRefresh();
    EXPECT_TRUE(editor_.FinishListing(RunListing(refresh)));
    EXPECT_EQ(editor_.Files().Rows().size(), 3u);
    ListingRequest cancelled = editor_.RequestRefresh();
    editor_.CancelListing();
    EXPECT_TRUE(cancelled.Cancelled->load());
    EXPECT_FALSE(editor_.FinishListing(RunListing(cancelled)));
}

}  // namespace
