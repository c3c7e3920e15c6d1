// The templates in one table, with the menu answers that reach each and the
// answers of its golden programs. Where the user types a fragment, the
// golden answers type a non-trivial one, so that the spliced text is kept
// too; where the answers choose lines, every choice has its own file; where
// a number is spliced, one answer types a number whose digits no type
// narrower than the state's keeps (printed with two decimals).
#include "templates/registry.h"

namespace zv::templates {

namespace {

using enum Fragments;

constexpr GoldenAnswers kNothingTyped[] = {{"", ""}};
constexpr GoldenAnswers kFunctionOfX[] = {{"", "sqr(x)-3*x+2/(x+1)\n"}};
constexpr GoldenAnswers kOddFunction[] = {{"", "x*x*x-abs(x)\n"}};
constexpr GoldenAnswers kSumCondition[] = {{"", ">=\n-12.5\n"}, {".wide", "<=\n123456789\n"}};
constexpr GoldenAnswers kProductCondition[] = {{"", "<\n3.75\n"}, {".wide", ">\n1234567.89\n"}};
constexpr GoldenAnswers kSearchCondition[] = {{"", "<>\n1e2\n"}, {".wide", "=\n-98765432.1\n"}};
// One of the five comparison signs, printed mirrored for a negative k, and
// another text, spliced with its apostrophe doubled.
constexpr GoldenAnswers kLinearSigns[] = {{".mirrored", ">=\n"}, {".other", "='\n"}};
// Each comparison sign has its own answer lines; any other sign has none.
constexpr GoldenAnswers kQuadraticSigns[] = {
    {".gt", ">\n"},
    {".lt", "<\n"},
    {".ge", ">=\n"},
    {".le", "<=\n"},
    {".ne", "<>\n"},
    {".other", "=\n"},
};

constexpr TemplateEntry kTemplates[] = {
    {1, mvk_id_1, "1/1/1", true, function, kFunctionOfX},
    {2, mvk_id_2, "1/1/2", true, function, kOddFunction},
    {3, mvk_id_3, "1/1/3", true, none, kNothingTyped},
    {4, mvk_id_4, "1/2/1/1", true, none, kNothingTyped},
    {5, mvk_id_5, "1/2/1/2", true, none, kNothingTyped},
    {6, mvk_id_6, "1/2/1/3", true, sum_condition, kSumCondition},
    {7, mvk_id_7, "1/2/2/1", true, none, kNothingTyped},
    {8, mvk_id_8, "1/2/2/2", true, none, kNothingTyped},
    {9, mvk_id_9, "1/2/2/3", true, product_condition, kProductCondition},
    {10, mvk_id_10, "1/2/3/1", true, none, kNothingTyped},
    {11, mvk_id_11, "1/2/3/2", true, none, kNothingTyped},
    {12, mvk_id_12, "1/2/3/3", true, none, kNothingTyped},
    {13, mvk_id_13, "1/2/3/4", true, product_condition, kSearchCondition},
    {14, mvk_id_14, "1/3/1/1/1", true, none, kNothingTyped},
    {15, mvk_id_15, "1/3/1/1/2", true, none, kNothingTyped},
    {16, mvk_id_16, "1/3/1/2/1", true, none, kNothingTyped},
    {17, mvk_id_17, "1/3/1/2/2", true, none, kNothingTyped},
    {18, mvk_id_18, "1/3/1/3/1", true, none, kNothingTyped},
    {19, mvk_id_19, "1/3/1/3/2", true, none, kNothingTyped},
    {20, mvk_id_20, "1/3/1/4/1", true, none, kNothingTyped},
    {21, mvk_id_21, "1/3/1/4/2", true, none, kNothingTyped},
    {22, mvk_id_22, "1/3/1/5/1", true, none, kNothingTyped},
    {23, mvk_id_23, "1/3/1/5/2", true, none, kNothingTyped},
    {24, mvk_id_24, "1/3/1/6/1", true, none, kNothingTyped},
    {25, mvk_id_25, "1/3/1/6/2", true, none, kNothingTyped},
    {26, mvk_id_26, "1/3/2/1/1", true, none, kNothingTyped},
    {27, mvk_id_27, "1/3/2/1/2", true, none, kNothingTyped},
    {28, mvk_id_28, "1/3/2/2/1", true, none, kNothingTyped},
    {29, mvk_id_29, "1/3/2/2/2", true, none, kNothingTyped},
    {30, mvk_id_30, "1/3/2/3/1", true, none, kNothingTyped},
    {31, mvk_id_31, "1/3/2/3/2", true, none, kNothingTyped},
    {32, mvk_id_32, "1/3/2/4/1", true, none, kNothingTyped},
    {33, mvk_id_33, "1/3/2/4/2", true, none, kNothingTyped},
    {34, mvk_id_34, "1/3/2/5/1", true, none, kNothingTyped},
    {35, mvk_id_35, "1/3/2/5/2", true, none, kNothingTyped},
    {36, mvk_id_36, "1/3/2/6/1", true, none, kNothingTyped},
    {37, mvk_id_37, "1/3/2/6/2", true, none, kNothingTyped},
    {38, mvk_id_38, "1/3/3/1", true, none, kNothingTyped},
    {39, mvk_id_39, "1/3/3/2", true, none, kNothingTyped},
    {40, mvk_id_40, "1/3/3/3", true, none, kNothingTyped},
    {41, mvk_id_41, "1/4/1", true, none, kNothingTyped},
    {42, mvk_id_42, "1/4/2/1", true, none, kNothingTyped},
    {43, mvk_id_43, "1/4/2/2", true, none, kNothingTyped},
    {44, mvk_id_44, "1/4/2/3", true, none, kNothingTyped},
    {45, mvk_id_45, "1/4/3", true, none, kNothingTyped},
    {46, mvk_id_46, "1/5/1", true, inequality, kLinearSigns},
    {47, mvk_id_47, "1/5/2", true, inequality, kQuadraticSigns},
    {48, mvk_id_48, "1/6/1", true, none, kNothingTyped},
    {49, mvk_id_49, "1/6/2", true, none, kNothingTyped},
    {50, mvk_id_50, "1/6/3", true, none, kNothingTyped},
    {51, mvk_id_51, "1/2/3/5", true, none, kNothingTyped},
    {52, mvk_id_52, "1/2/3/6", true, none, kNothingTyped},
    {53, mvk_id_53, "2/1/1/1", true, none, kNothingTyped},
    {54, mvk_id_54, "2/1/1/2", true, none, kNothingTyped},
    {55, mvk_id_55, "2/1/1/3", true, none, kNothingTyped},
    {56, mvk_id_56, "2/1/1/4", false, none, kNothingTyped},
    {57, mvk_id_57, "3/1/1/1", false, none, kNothingTyped},
    {58, mvk_id_58, "3/1/1/2", false, none, kNothingTyped},
    {59, mvk_id_59, "3/1/2/1", false, none, kNothingTyped},
    {60, mvk_id_60, "3/1/2/2", false, none, kNothingTyped},
};

}  // namespace

std::span<const TemplateEntry> template_registry() { return kTemplates; }

}  // namespace zv::templates
