# The translations of the program's texts: one translations/quorvane_<code>.ts per language, each
# compiled into the program (ui/CMakeLists.txt). The target update_translations runs lupdate over
# the sources into every .ts file, with the arguments the completeness test uses
# (tests/translations/), so a new text shows up in both the same way. See translations/README.md.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

file(GLOB QUORVANE_TS_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/translations/quorvane_*.ts)
# The folders lupdate reads, relative to the source folder, and its options: no line numbers (a
# moved line changes nothing), no entries of texts the code no longer has, Japanese sources.
set(QUORVANE_LUPDATE_SOURCES app core imaging metafile platform ui)
set(QUORVANE_LUPDATE_OPTIONS -locations none -no-obsolete -source-language ja)

add_custom_target(update_translations
    COMMAND $<TARGET_FILE:Qt6::lupdate> ${QUORVANE_LUPDATE_OPTIONS} ${QUORVANE_LUPDATE_SOURCES}
            -ts ${QUORVANE_TS_FILES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Updating the translation files from the sources"
    VERBATIM)
