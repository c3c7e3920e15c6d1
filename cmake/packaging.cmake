# What `cmake --install` puts where, and the packages CPack makes of it:
# on Linux a Debian package and a tar.gz, on Windows a zip holding one folder
# to unpack and start (the program, an empty logfile.txt, README.txt and
# FAQ.txt).
include(GNUInstallDirs)

# A copy of a text file with CR LF line ends, as the program itself writes.
function(zv_crlf_copy source destination)
  file(READ "${source}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${destination}" "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
endfunction()

# The zip's text files end their lines with CR LF, for Windows' editors; the
# Debian package's keep LF, Debian's convention.
if(WIN32)
  zv_crlf_copy(${PROJECT_SOURCE_DIR}/FAQ.md ${PROJECT_BINARY_DIR}/FAQ.txt)
  zv_crlf_copy(${PROJECT_SOURCE_DIR}/README.md ${PROJECT_BINARY_DIR}/README.txt)
  file(WRITE ${PROJECT_BINARY_DIR}/logfile.txt "")
  # Everything in one folder: started from Explorer, the program runs in the
  # folder that holds it, so it finds the logfile.txt beside it.
  install(TARGETS zorvandrel RUNTIME DESTINATION .)
  install(FILES ${PROJECT_BINARY_DIR}/logfile.txt ${PROJECT_BINARY_DIR}/README.txt
                ${PROJECT_BINARY_DIR}/FAQ.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
else()
  configure_file(${PROJECT_SOURCE_DIR}/FAQ.md ${PROJECT_BINARY_DIR}/FAQ.txt COPYONLY)
  # The manual page and the Debian changelog, compressed as Debian wants them
  # (gzip -9n: best compression, no name or time stamp).
  find_program(ZV_GZIP gzip REQUIRED)
  set(zv_gzipped)
  foreach(source doc/zorvandrel.1 doc/changelog)
    get_filename_component(name ${source} NAME)
    set(copy ${PROJECT_BINARY_DIR}/doc/${name})
    add_custom_command(OUTPUT ${copy}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${source} ${copy}
      COMMAND ${ZV_GZIP} -9nf ${copy}
      DEPENDS ${PROJECT_SOURCE_DIR}/${source}
      VERBATIM)
    list(APPEND zv_gzipped ${copy}.gz)
  endforeach()
  add_custom_target(zorvandrel_docs ALL DEPENDS ${zv_gzipped})

  install(TARGETS zorvandrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/doc/zorvandrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_BINARY_DIR}/FAQ.txt ${PROJECT_SOURCE_DIR}/doc/copyright
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # Only for the packages (component "debian", left out of a plain
  # `cmake --install`): the Debian changelog and the lintian override.
  install(FILES ${PROJECT_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}
          COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES ${PROJECT_SOURCE_DIR}/doc/lintian-overrides RENAME zorvandrel
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT debian EXCLUDE_FROM_ALL)
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/;${PROJECT_BINARY_DIR};${PROJECT_NAME};debian;/")
  set(CPACK_GENERATOR DEB TGZ)
endif()

set(CPACK_PACKAGE_NAME zorvandrel)
set(CPACK_PACKAGE_VENDOR "the Zorvandrel developers")
set(CPACK_PACKAGE_CONTACT "Zorvandrel developers <developers@zorvandrel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The synopsis comes from the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Zorvandrel is an interactive console program generator for students and
teachers. It asks for the name of an output file, leads through numbered
menus (mathematics, geometry, strings) and writes one small, complete Pascal
program into that file, splicing in what was typed on the way: a function
expression, a comparison sign with a number, or an inequality sign.
.
Every answer comes from standard input, so a script can pipe a whole
dialogue in. Each completed run appends one line to logfile.txt, which must
already exist in the current directory.")

include(CPack)
