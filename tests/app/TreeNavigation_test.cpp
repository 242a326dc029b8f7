// The tree's cursor in the real window: the path bar, the node commands, folding from the menu,
// Show in Editor, and keyboard focus following the view.
#include "tests/app/PageProbe.hpp"
#include "tests/app/WindowFixture.hpp"
#include "tests/support/Click.hpp"
#include "tests/support/ClipboardText.hpp"
#include "tests/support/MainLoop.hpp"

namespace quessel::testing {
namespace {

constexpr const char* manifest = "kind: Deployment\n"
                                 "spec:\n"
                                 "  containers:\n"
                                 "    - name: web\n"
                                 "      image: nginx # pinned below\n"
                                 "      ports: [80, 443]\n"
                                 "    - name: \"side car\"\n"
                                 "metadata:\n"
                                 "  labels:\n"
                                 "    app.kubernetes.io/name: web\n";

class TreeNavigationTest : public WindowFixture {
protected:
    // Presses keys in the page as the keyboard would, one keydown each.
    void press(const std::vector<std::string>& keys) {
        for (const std::string& key : keys) {
            evaluate(page(), "document.dispatchEvent(new KeyboardEvent('keydown', {key: '" + key +
                                 "', bubbles: true, cancelable: true}))");
        }
        settle();
    }

    // Waits until the path bar shows the path.
    bool pathBarShows(const std::string& path) {
        return runUntil([&] { return content().pathBar().pathText() == path; });
    }

    void activate(const std::string& action) {
        window->activate_action(action);
        settle();
    }

    bool enabled(const char* action) { return window->get_action_enabled(action); }
};

TEST_F(TreeNavigationTest, ThePathBarFollowsTheCursor) {
    openDocument("deploy.yaml", manifest);
    EXPECT_EQ(content().pathBar().pathText(), app::PathBar::hint);
    // Sorted keys: kind, metadata, spec.
    press({"ArrowDown"});
    EXPECT_TRUE(pathBarShows(".kind"));
    press({"ArrowDown", "ArrowDown", "ArrowDown"});
    EXPECT_TRUE(pathBarShows(".metadata.labels[\"app.kubernetes.io/name\"]"));
    // Left goes to the parent, then collapses it; Right expands it again, then enters it.
    press({"End", "ArrowLeft", "ArrowLeft", "ArrowRight"});
    EXPECT_TRUE(pathBarShows(".spec.containers[1]"));
    press({"ArrowRight"});
    EXPECT_TRUE(pathBarShows(".spec.containers[1].name"));
}

TEST_F(TreeNavigationTest, NodeCommandsNeedACursorOnTheShownTree) {
    openDocument("deploy.yaml", manifest);
    EXPECT_FALSE(enabled("copy-node-path"));
    EXPECT_FALSE(enabled("show-in-editor"));
    EXPECT_TRUE(enabled("expand-all"));
    press({"Home"});
    ASSERT_TRUE(pathBarShows(".kind"));
    EXPECT_TRUE(enabled("copy-node-path"));
    EXPECT_TRUE(enabled("copy-node-value"));
    appState->setIsEditing(true);
    settle();
    EXPECT_FALSE(enabled("copy-node-path")) << "the editor shows, not the tree";
    EXPECT_FALSE(enabled("collapse-all"));
}

TEST_F(TreeNavigationTest, CopiesTheNodePathAndValueThroughTheWindowClipboard) {
    openDocument("deploy.yaml", manifest);
    press({"Home", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown", "ArrowDown"});
    ASSERT_TRUE(pathBarShows(".spec.containers"));
    activate("win.copy-node-path");
    EXPECT_EQ(clipboardText(*window), ".spec.containers");

    // A collection's text as written, comments kept, dedented to the first column.
    activate("win.copy-node-value");
    EXPECT_TRUE(runUntil([&] {
        return clipboardText(*window) == "- name: web\n"
                                         "  image: nginx # pinned below\n"
                                         "  ports: [80, 443]\n"
                                         "- name: \"side car\"";
    })) << *clipboardText(*window);

    // A scalar's loaded text: the quotes are the writing, not the value.
    press({"End"});
    ASSERT_TRUE(pathBarShows(".spec.containers[1].name"));
    activate("win.copy-node-value");
    EXPECT_TRUE(runUntil([&] { return clipboardText(*window) == "side car"; }));
}

TEST_F(TreeNavigationTest, ShowInEditorLandsOnTheKeyAndTheViewerKeepsTheCursor) {
    openDocument("deploy.yaml", manifest);
    press({"Home"});
    press(std::vector<std::string>(9, "ArrowDown"));
    ASSERT_TRUE(pathBarShows(".spec.containers[0].ports"));
    activate("win.show-in-editor");
    ASSERT_TRUE(runUntil([&] { return appState->isEditing(); }));
    auto buffer = content().editor().textView().get_buffer();
    const auto cursor = buffer->get_iter_at_mark(buffer->get_insert());
    EXPECT_EQ(cursor.get_line(), 5);
    EXPECT_EQ(cursor.get_line_offset(), 6);
    EXPECT_TRUE(content().editor().textView().is_focus());

    click(content().editToggle());
    settle();
    EXPECT_FALSE(appState->isEditing());
    EXPECT_TRUE(gtk_widget_is_focus(content().renderedView().pageView().widget()));
    EXPECT_EQ(content().pathBar().pathText(), ".spec.containers[0].ports");
}

TEST_F(TreeNavigationTest, KeyboardFocusFollowsTheViewEitherWay) {
    openDocument("deploy.yaml", manifest);
    // A pointer click gives the button the focus before it acts.
    content().editToggle().grab_focus();
    click(content().editToggle());
    settle();
    ASSERT_TRUE(appState->isEditing());
    EXPECT_TRUE(content().editor().textView().is_focus()) << "typing goes to the text";
    content().editToggle().grab_focus();
    click(content().editToggle());
    settle();
    EXPECT_TRUE(gtk_widget_is_focus(content().renderedView().pageView().widget()));
}

TEST_F(TreeNavigationTest, AnEditedPageKeepsTheCursorAndAnotherFileDropsIt) {
    openDocument("deploy.yaml", manifest);
    press({"End"});
    ASSERT_TRUE(pathBarShows(".spec.containers[1].name"));
    appState->setFileContent(std::string("apiVersion: v1\n") + manifest);
    settle();
    EXPECT_TRUE(pageHas("document.body.textContent.includes('apiVersion')"));
    EXPECT_TRUE(pathBarShows(".spec.containers[1].name"));
    EXPECT_TRUE(pageHas("JSON.stringify(cursorNode().steps) === "
                        "'[{\"key\":\"spec\"},{\"key\":\"containers\"},{\"index\":1},"
                        "{\"key\":\"name\"}]'"));

    openDocument("other.yaml", "spec: 1\n");
    EXPECT_EQ(content().pathBar().pathText(), app::PathBar::hint);
    EXPECT_EQ(evaluate(page(), "String(cursorNode())"), "null");
}

TEST_F(TreeNavigationTest, FoldingFromTheMenuKeepsTheCursorShown) {
    openDocument("deploy.yaml", manifest);
    press({"End"});
    ASSERT_TRUE(pathBarShows(".spec.containers[1].name"));
    activate("win.collapse-all");
    // Only the top-level rows show; the cursor moved to the one holding it.
    EXPECT_TRUE(pathBarShows(".spec"));
    window->activate_action("win.expand-to-level", Glib::Variant<gint32>::create(2));
    settle();
    press({"ArrowDown"});
    EXPECT_TRUE(pathBarShows(".spec.containers"));
    activate("win.expand-all");
    press({"ArrowRight", "ArrowRight"});
    EXPECT_TRUE(pathBarShows(".spec.containers[0].image"));
}

TEST_F(TreeNavigationTest, StreamsNameTheDocument) {
    openDocument("stream.yaml", "a: 1\n---\nb: [x, y]\n");
    press({"End"});
    EXPECT_TRUE(pathBarShows(".b[1]"));
    EXPECT_EQ(content().pathBar().documentText(), "Document 2");
    activate("win.copy-node-path");
    EXPECT_EQ(clipboardText(*window), ".b[1]");
}

} // namespace
} // namespace quessel::testing
