// The template writers in-process: every file depends only on the fields
// its template splices, and the frame writes pieces exactly.
#include <gtest/gtest.h>

#include <set>

#include "support/console_fixture.h"
#include "templates/frame.h"
#include "templates/registry.h"
#include "templates/writers.h"

namespace zv::test {
namespace {

const templates::TemplateEntry& entry(int n) { return templates::template_registry()[n - 1]; }

class Writers : public ConsoleTest {
 protected:
  // Runs writer n with these fields; returns the file's bytes.
  std::string write(int n, const DialogueState& fields) {
    fake = MemoryPlatform{};
    auto& r = start("");
    DialogueState state = fields;
    state.quote.assign("'");
    state.output_name.assign("out.txt");
    entry(n).writer(r, state);
    EXPECT_EQ(state.template_id.view(), "mvk_id_" + std::to_string(n));
    return fake.files["out.txt"];
  }
};

TEST_F(Writers, FilesDependOnlyOnTheirOwnFields) {
  DialogueState empty;
  DialogueState typed;
  typed.function_text.assign("sin(x)'{;}");
  typed.condition_sign.assign("<'>");
  typed.condition_number = -12.5;
  typed.inequality_sign.assign(">=");
  std::set<std::string> texts;
  for (const templates::TemplateEntry& t : templates::template_registry()) {
    const int n = t.number;
    const std::string plain = write(n, empty);
    const std::string spliced = write(n, typed);
    if (t.fragments == templates::Fragments::none) {
      EXPECT_EQ(plain, spliced) << "template " << n;
    }
    if (t.writes_text) {
      EXPECT_TRUE(texts.insert(plain).second) << "template " << n << " repeats another";
      EXPECT_TRUE(plain.ends_with("end.\r\n")) << n;
    } else {
      EXPECT_EQ(plain, "") << n;
    }
  }
}

TEST_F(Writers, FieldsAreSplicedAsTyped) {
  DialogueState fields;
  fields.function_text.assign(" x*x ' ; ");
  EXPECT_NE(write(1, fields).find("\r\n y:= x*x ' ; ;\r\n"), std::string::npos);
  fields.condition_sign.assign(" > ");
  fields.condition_number = 0.125;
  EXPECT_NE(write(6, fields).find("  if a[i] > 0.12 then s:=s+a[i];\r\n"), std::string::npos);
  fields.condition_sign.assign("<>'");
  const std::string t13 = write(13, fields);
  EXPECT_NE(t13.find("<>''0.12"), std::string::npos);     // doubled inside the literal
  EXPECT_NE(t13.find("a[i]<>'0.12"), std::string::npos);  // as typed in the test
}

TEST_F(Writers, AFailedCreateLeavesNoIdentifier) {
  fake = MemoryPlatform{};
  auto& r = start("");
  DialogueState state;
  state.output_name.assign("bad?name.txt");
  EXPECT_EQ(exit_code_of([&] { templates::mvk_id_3(r, state); }), 123);
  EXPECT_TRUE(state.template_id.empty());
  EXPECT_EQ(fake.count(MemoryPlatform::Op::open_write), 0);  // refused before the system sees it
}

// The frame guards the file the driver names in the state, and only that.
TEST_F(Writers, TheGuardedNameComesFromTheState) {
  for (const char* guarded : {"logfile.txt", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(guarded != nullptr ? guarded : "none");
    fake = MemoryPlatform{};
    fake.files["logfile.txt"] = "old\r\n";
    auto& r = start("");
    DialogueState state;
    state.output_name.assign("logfile.txt");
    state.guarded_name = guarded;
    EXPECT_EQ(exit_code_of([&] { templates::mvk_id_56(r, state); }), guarded != nullptr ? 5 : -1);
    EXPECT_EQ(fake.files["logfile.txt"], guarded != nullptr ? "old\r\n" : "");
  }
}

}  // namespace
}  // namespace zv::test
