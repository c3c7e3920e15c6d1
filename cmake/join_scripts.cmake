# Writes the scripts INPUTS (a list joined with "|", in order) one after another
# to OUTPUT, each after a line that names it. The page loads its own scripts as
# one file: each script the browser loads on its own is another task between
# xterm.js and the greeting.
string(REPLACE "|" ";" inputs "${INPUTS}")
set(text "")
foreach(input IN LISTS inputs)
  file(READ ${input} part)
  get_filename_component(name ${input} NAME)
  string(APPEND text "// ---- ${name} ----\n${part}")
  if(NOT part MATCHES "\n$")
    string(APPEND text "\n")
  endif()
endforeach()
file(WRITE ${OUTPUT} "${text}")
