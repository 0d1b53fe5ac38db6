# The manual page and the user guide, made at build time: the page from the program's own
# --help (help2man), the guide from the README's parts for users (cmark-gfm renders it as
# forges render the README). Both are installed by install.cmake.
find_program(KORVANE_HELP2MAN help2man REQUIRED)
find_program(KORVANE_CMARK_GFM cmark-gfm REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(KORVANE_DOC_BUILD_DIR ${PROJECT_BINARY_DIR}/doc)
set(korvane_man_page ${KORVANE_DOC_BUILD_DIR}/korvane.1)
add_custom_command(
    OUTPUT ${korvane_man_page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVANE_DOC_BUILD_DIR}
    # help2man runs the program under its own locale, C by default; in a locale that is not
    # UTF-8, Qt warns on stderr, and the warning would become the page's text.
    COMMAND ${KORVANE_HELP2MAN} --no-info --no-discard-stderr --locale C.UTF-8
        --name "run actions on what you drop on the tray icon, or on the command line"
        --section 1 --include ${PROJECT_SOURCE_DIR}/resources/man/korvane.h2m
        --output ${korvane_man_page} $<TARGET_FILE:korvane>
    COMMAND gzip -9nf ${korvane_man_page}
    DEPENDS korvane ${PROJECT_SOURCE_DIR}/resources/man/korvane.h2m
    COMMENT "Writing the manual page from korvane --help"
    VERBATIM
)
add_custom_command(
    OUTPUT ${KORVANE_DOC_BUILD_DIR}/guide.html
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/userguide.py ${PROJECT_SOURCE_DIR}/README.md
        ${KORVANE_CMARK_GFM} ${KORVANE_DOC_BUILD_DIR}
    DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/tools/userguide.py
    COMMENT "Writing the user guide from the README"
    VERBATIM
)
add_custom_target(korvanedocs ALL DEPENDS ${korvane_man_page}.gz ${KORVANE_DOC_BUILD_DIR}/guide.html)
