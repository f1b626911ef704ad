# The plug-in must define exactly the five entry points a host binds to, with these signatures:
# a missing one keeps hosts from loading it, an extra one may take the place of a host's own.
# Run with -DNM=... -DLIBRARY=... -P check_exports.cmake.
set(expected
    "editPlotStyleTable(wxString const&, wxString const&, wxWindow*)"
    "editPlotStyleTable(wxString const&, wxWindow*)"
    "getPlotStyleFiles(wxArrayString&)"
    "newPlotStyleTable(wxString&, bool, wxString const&, wxWindow*)"
    "startPlotStyleEditor(wxWindow*)")

execute_process(COMMAND ${NM} -DC --defined-only ${LIBRARY}
    OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(defined)
foreach(line IN LISTS lines)
    # "ADDRESS TYPE NAME": the name may hold blanks.
    string(REGEX REPLACE "^[0-9a-f]* *[A-Za-z] " "" name "${line}")
    list(APPEND defined "${name}")
endforeach()
list(SORT defined)
list(SORT expected)
if(NOT defined STREQUAL expected)
    string(REPLACE ";" "\n  " defined "${defined}")
    string(REPLACE ";" "\n  " expected "${expected}")
    message(FATAL_ERROR "The plug-in defines\n  ${defined}\nbut must define exactly\n  ${expected}")
endif()
message(STATUS "The plug-in defines exactly its five entry points")
