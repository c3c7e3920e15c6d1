#pragma once
// The template writers, one source each (mvk_id1.cpp, mvk_id2.cpp, ...).
#include "console/runtime.h"
#include "state/dialogue_state.h"

namespace zv::templates {

using TemplateWriter = void (*)(console::Runtime&, DialogueState&);

void mvk_id_1(console::Runtime& rt, DialogueState& state);
void mvk_id_2(console::Runtime& rt, DialogueState& state);
void mvk_id_3(console::Runtime& rt, DialogueState& state);
void mvk_id_4(console::Runtime& rt, DialogueState& state);
void mvk_id_5(console::Runtime& rt, DialogueState& state);
void mvk_id_6(console::Runtime& rt, DialogueState& state);
void mvk_id_7(console::Runtime& rt, DialogueState& state);
void mvk_id_8(console::Runtime& rt, DialogueState& state);
void mvk_id_9(console::Runtime& rt, DialogueState& state);
void mvk_id_10(console::Runtime& rt, DialogueState& state);
void mvk_id_11(console::Runtime& rt, DialogueState& state);
void mvk_id_12(console::Runtime& rt, DialogueState& state);
void mvk_id_13(console::Runtime& rt, DialogueState& state);
void mvk_id_14(console::Runtime& rt, DialogueState& state);
void mvk_id_15(console::Runtime& rt, DialogueState& state);
void mvk_id_16(console::Runtime& rt, DialogueState& state);
void mvk_id_17(console::Runtime& rt, DialogueState& state);
void mvk_id_18(console::Runtime& rt, DialogueState& state);
void mvk_id_19(console::Runtime& rt, DialogueState& state);
void mvk_id_20(console::Runtime& rt, DialogueState& state);
void mvk_id_21(console::Runtime& rt, DialogueState& state);
void mvk_id_22(console::Runtime& rt, DialogueState& state);
void mvk_id_23(console::Runtime& rt, DialogueState& state);
void mvk_id_24(console::Runtime& rt, DialogueState& state);
void mvk_id_25(console::Runtime& rt, DialogueState& state);
void mvk_id_26(console::Runtime& rt, DialogueState& state);
void mvk_id_27(console::Runtime& rt, DialogueState& state);
void mvk_id_28(console::Runtime& rt, DialogueState& state);
void mvk_id_29(console::Runtime& rt, DialogueState& state);
void mvk_id_30(console::Runtime& rt, DialogueState& state);
void mvk_id_31(console::Runtime& rt, DialogueState& state);
void mvk_id_32(console::Runtime& rt, DialogueState& state);
void mvk_id_33(console::Runtime& rt, DialogueState& state);
void mvk_id_34(console::Runtime& rt, DialogueState& state);
void mvk_id_35(console::Runtime& rt, DialogueState& state);
void mvk_id_36(console::Runtime& rt, DialogueState& state);
void mvk_id_37(console::Runtime& rt, DialogueState& state);
void mvk_id_38(console::Runtime& rt, DialogueState& state);
void mvk_id_39(console::Runtime& rt, DialogueState& state);
void mvk_id_40(console::Runtime& rt, DialogueState& state);
void mvk_id_41(console::Runtime& rt, DialogueState& state);
void mvk_id_42(console::Runtime& rt, DialogueState& state);
void mvk_id_43(console::Runtime& rt, DialogueState& state);
void mvk_id_44(console::Runtime& rt, DialogueState& state);
void mvk_id_45(console::Runtime& rt, DialogueState& state);
void mvk_id_46(console::Runtime& rt, DialogueState& state);
void mvk_id_47(console::Runtime& rt, DialogueState& state);
void mvk_id_48(console::Runtime& rt, DialogueState& state);
void mvk_id_49(console::Runtime& rt, DialogueState& state);
void mvk_id_50(console::Runtime& rt, DialogueState& state);
void mvk_id_51(console::Runtime& rt, DialogueState& state);
void mvk_id_52(console::Runtime& rt, DialogueState& state);
void mvk_id_53(console::Runtime& rt, DialogueState& state);
void mvk_id_54(console::Runtime& rt, DialogueState& state);
void mvk_id_55(console::Runtime& rt, DialogueState& state);
void mvk_id_56(console::Runtime& rt, DialogueState& state);
void mvk_id_57(console::Runtime& rt, DialogueState& state);
void mvk_id_58(console::Runtime& rt, DialogueState& state);
void mvk_id_59(console::Runtime& rt, DialogueState& state);
void mvk_id_60(console::Runtime& rt, DialogueState& state);

}  // namespace zv::templates
