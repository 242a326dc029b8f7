// The cursor node as the page reports it, and the call that puts it back: what the page says
// must come back exactly, and anything malformed must not become a path the host acts on.
#include "app/web/PageCalls.hpp"
#include "app/web/PageCursor.hpp"
#include "viewer_core/GObjectPtr.hpp"

#include <gtest/gtest.h>

namespace quessel::app::web {
namespace {

class PageCursorTest : public ::testing::Test {
protected:
    // The value of a script expression in a plain script context.
    core::GObjectPtr<JSCValue> value(const std::string& script) {
        return core::GObjectPtr<JSCValue>::adopt(
            jsc_context_evaluate(context_.get(), script.c_str(), -1));
    }

    std::optional<PageCursor> read(const std::string& script) {
        return PageCursor::read(value(script).get());
    }

private:
    core::GObjectPtr<JSCContext> context_ = core::GObjectPtr<JSCContext>::adopt(jsc_context_new());
};

yaml::NodePath path(std::optional<std::size_t> document, std::vector<yaml::PathStep> steps) {
    yaml::NodePath result;
    result.document = document;
    result.steps = std::move(steps);
    return result;
}

TEST_F(PageCursorTest, ReadsKeysIndicesDocumentAndLine) {
    const auto cursor = read(R"(({document: 1, steps: [{key: 'spec'}, {index: 0}, {key: ''}],
                                  line: 'image: nginx'}))");
    ASSERT_TRUE(cursor);
    EXPECT_EQ(cursor->path, path(1, {{std::string("spec")}, {std::size_t{0}}, {std::string()}}));
    EXPECT_EQ(cursor->line, "image: nginx");

    const auto root = read("({document: null, steps: []})");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->path, path(std::nullopt, {}));
    EXPECT_EQ(root->line, "");
}

TEST_F(PageCursorTest, NoCursorAndMalformedBodiesReadAsNone) {
    for (const char* script : {
             "null",
             "undefined",
             "'a string'",
             "({document: null})",                          // no steps
             "({document: null, steps: 'a'})",              // steps not an array
             "({document: -1, steps: []})",                 // a document before the first
             "({document: 1.5, steps: []})",                // not a whole number
             "({document: null, steps: [{index: -2}]})",    // an index before the first
             "({document: null, steps: [{index: 2.5}]})",   // not a whole index
             "({document: null, steps: [{index: 2**60}]})", // past exact counting
             "({document: null, steps: [{}]})",             // neither key nor index
             "({document: null, steps: [{key: 3}]})",       // a key that is not text
             "({document: null, steps: [null]})",
         }) {
        EXPECT_FALSE(read(script)) << script;
    }
}

TEST_F(PageCursorTest, PlaceCursorCallHandsThePathBackUnchanged) {
    value("var placed = null; function placeCursor(node) { placed = node; }");
    const std::vector<yaml::NodePath> paths = {
        path(std::nullopt, {}),
        path(3, {{std::string("a.b")}, {std::size_t{12}}}),
        path(std::nullopt, {{std::string("it's \\ \"quoted\"")},
                            {std::string("line\nbreak\rand\u2028separators\u2029")},
                            {std::string("\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80")},
                            {std::string("</script>")}}),
    };
    for (const yaml::NodePath& sent : paths) {
        value(placeCursorCall(sent));
        const auto back = PageCursor::read(value("placed").get());
        ASSERT_TRUE(back) << placeCursorCall(sent);
        EXPECT_EQ(back->path, sent) << placeCursorCall(sent);
    }
}

TEST_F(PageCursorTest, FoldingCallsNameThePageFunctions) {
    value("var calls = []; function expandToLevel(n) { calls.push('level ' + n); }"
          "function expandAll() { calls.push('all'); }"
          "function collapseAll() { calls.push('none'); }");
    value(expandToLevelCall(3));
    value(expandToLevelCall(0));
    value(expandAllCall);
    value(collapseAllCall);
    const auto calls = value("calls.join(',')");
    std::unique_ptr<char, decltype(&g_free)> text(jsc_value_to_string(calls.get()), &g_free);
    EXPECT_STREQ(text.get(), "level 3,level 1,all,none");
}

} // namespace
} // namespace quessel::app::web
