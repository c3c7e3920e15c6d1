#pragma once
// condition_number as the generated programs show it: fixed point with two
// decimals ("-7.25", "0.00", "100000000000000000000000000000000000.00"), or
// from 10^36 up the scientific form (" 1.000000000000000E+036").
#include "console/short_string.h"

namespace zv::templates {

ShortString format_number(double number);

}  // namespace zv::templates
