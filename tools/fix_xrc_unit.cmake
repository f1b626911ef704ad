# Turns the resource unit that wxrc wrote (INPUT) into the library's one (OUTPUT).
#
# wxrc takes the MIME types of images from the build machine's MIME database, so the icon may
# come out as "image/vnd.microsoft.icon" or with no type at all. The library registers every
# file with a fixed type by its extension; any other kind of file stops the build.
#   cmake -DINPUT=wxrc/psl_xrc.cpp -DOUTPUT=psl_xrc.cpp -P fix_xrc_unit.cmake

set(file_pattern "XRC_ADD_FILE\\(wxT\\(\"XRC_resource/[^\"]*\"\\), xml_res_file_[0-9]+, xml_res_size_[0-9]+, wxT\\(\"[^\"]*\"\\)\\)")

file(READ "${INPUT}" unit)
string(REGEX MATCHALL "${file_pattern}" added "${unit}")
list(LENGTH added added_count)
if(added_count EQUAL 0)
    message(FATAL_ERROR "${INPUT} registers no files")
endif()

set(typed_count 0)
foreach(rule "\\.ico|image/x-icon" "\\.png|image/png" "\\.xrc|text/xml")
    string(REPLACE "|" ";" rule "${rule}")
    list(GET rule 0 extension)
    list(GET rule 1 mime)
    set(typed_pattern "(XRC_ADD_FILE\\(wxT\\(\"XRC_resource/[^\"]*${extension}\"\\), xml_res_file_[0-9]+, xml_res_size_[0-9]+, wxT\\(\")[^\"]*(\"\\)\\))")
    string(REGEX MATCHALL "${typed_pattern}" typed "${unit}")
    list(LENGTH typed count)
    math(EXPR typed_count "${typed_count} + ${count}")
    string(REGEX REPLACE "${typed_pattern}" "\\1${mime}\\2" unit "${unit}")
endforeach()

if(NOT typed_count EQUAL added_count)
    message(FATAL_ERROR "${INPUT} holds a file that is neither an icon, a PNG image nor a layout")
endif()

file(WRITE "${OUTPUT}" "${unit}")
