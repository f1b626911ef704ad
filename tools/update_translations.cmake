# Extracts the message template po/pstyle.pot from the sources and the dialog layouts, then
# merges it into every catalogue po/<language>.po, so that new texts show up there untranslated
# and changed ones as fuzzy. Files are rewritten only when more than their dates changed, so the
# template is the same on every machine. Run it through the build: cmake --build DIR --target pot
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DVERSION=... -DWXRC=... -DXGETTEXT=... -DMSGMERGE=...
#         -DMSGFMT=... -P update_translations.cmake

# Replaces target by candidate unless the two differ only in the lines that carry dates.
function(replace_if_changed candidate target)
    set(date_lines "\"(POT-Creation-Date|PO-Revision-Date): [^\"]*\"")
    file(READ "${candidate}" new_text)
    set(old_text "")
    if(EXISTS "${target}")
        file(READ "${target}" old_text)
    endif()
    string(REGEX REPLACE "${date_lines}" "" new_stripped "${new_text}")
    string(REGEX REPLACE "${date_lines}" "" old_stripped "${old_text}")
    if(new_stripped STREQUAL old_stripped)
        return()
    endif()
    file(COPY_FILE "${candidate}" "${target}")
    message(STATUS "Updated ${target}")
endfunction()

function(run)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${SOURCE_DIR}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "Failed (${status}): ${ARGN}")
    endif()
endfunction()

file(MAKE_DIRECTORY "${WORK_DIR}")

# Paths relative to the source folder, so that the references in the template are too; wxrc
# writes the paths it was given into its #line entries, which xgettext turns into references.
file(GLOB layouts RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/res/locale/en-US/xrc/*.xrc")
list(SORT layouts)
run("${WXRC}" --gettext -o "${WORK_DIR}/layouts.cpp" ${layouts})

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
    "${SOURCE_DIR}/plotapps/*.cpp" "${SOURCE_DIR}/plotapps/*.h"
    "${SOURCE_DIR}/platform/*.cpp" "${SOURCE_DIR}/platform/*.h")
list(SORT sources)
run("${XGETTEXT}" --language=C++ --from-code=UTF-8 --add-comments=TRANSLATORS:
    --keyword=_ --keyword=wxTRANSLATE --keyword=wxPLURAL:1,2
    --keyword=wxTRANSLATE_IN_CONTEXT:1c,2 --keyword=wxGETTEXT_IN_CONTEXT:1c,2
    --keyword=wxGETTEXT_IN_CONTEXT_PLURAL:1c,2,3
    --package-name=pstyle --package-version=${VERSION}
    "--copyright-holder=the pstyle developers"
    -o "${WORK_DIR}/pstyle.pot" ${sources} "${WORK_DIR}/layouts.cpp")
file(READ "${WORK_DIR}/pstyle.pot" template)
string(REPLACE "# SOME DESCRIPTIVE TITLE."
       "# Messages of the pstyle plot style library and program." template "${template}")
file(WRITE "${WORK_DIR}/pstyle.pot" "${template}")
replace_if_changed("${WORK_DIR}/pstyle.pot" "${SOURCE_DIR}/po/pstyle.pot")

file(GLOB catalogues "${SOURCE_DIR}/po/*.po")
foreach(catalogue ${catalogues})
    get_filename_component(name "${catalogue}" NAME)
    run("${MSGMERGE}" --quiet --previous -o "${WORK_DIR}/${name}" "${catalogue}"
        "${SOURCE_DIR}/po/pstyle.pot")
    replace_if_changed("${WORK_DIR}/${name}" "${catalogue}")
    run("${MSGFMT}" --statistics -o /dev/null "${catalogue}")
endforeach()
