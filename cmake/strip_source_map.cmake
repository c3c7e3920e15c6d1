# Copies INPUT to OUTPUT without its "//# sourceMappingURL=" line.
file(READ ${INPUT} text)
string(REGEX REPLACE "\n//# sourceMappingURL=[^\n]*" "" text "${text}")
file(WRITE ${OUTPUT} "${text}")
