# Installs the build tree into a scratch prefix, builds the host in host/ against the package
# there and runs it on a copy of the installed sample folder; then the installed pstyle must
# find its sample folder, its German messages in a German environment, its drawing and plot
# modules, and its GUI module and the plug-in, all below the prefix.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... [-DHOST_FLAGS=...] [-DLAUNCHER=ccache]
#         -P run_install_test.cmake
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/host -B ${WORK_DIR}/host
                        -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER}
                        "-DCMAKE_CXX_FLAGS=${HOST_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${HOST_FLAGS}"
                COMMAND_ERROR_IS_FATAL ANY OUTPUT_QUIET)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/host COMMAND_ERROR_IS_FATAL ANY)
file(COPY ${prefix}/share/pstyle/plot-styles/ DESTINATION ${WORK_DIR}/tables)
execute_process(COMMAND ${WORK_DIR}/host/pstyle_host ${WORK_DIR}/tables COMMAND_ERROR_IS_FATAL ANY)

execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=PSTYLE_PLOT_STYLE_PATH
                        ${prefix}/bin/pstyle list
                OUTPUT_VARIABLE listed COMMAND_ERROR_IS_FATAL ANY)
if(NOT listed MATCHES "named.stb")
    message(FATAL_ERROR "The installed pstyle lists its sample folder as:\n${listed}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E env LANGUAGE= LC_ALL= LC_MESSAGES= LANG=de_DE.UTF-8
                        ${prefix}/bin/pstyle copy ${WORK_DIR}/tables/default.ctb ${WORK_DIR}/x.stb
                ERROR_VARIABLE refusal)
if(NOT refusal MATCHES "x.stb ist kein gültiger Name zum Speichern")
    message(FATAL_ERROR "The installed pstyle refused in a German environment with:\n${refusal}")
endif()

# The installed sheet finds its drawing module below the prefix, plot its plot module too, and
# the sample drawing lies beside the sample tables.
execute_process(COMMAND ${prefix}/bin/pstyle sheet ${WORK_DIR}/tables/named.stb
                        -o ${WORK_DIR}/named.pdf COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${prefix}/bin/pstyle plot ${WORK_DIR}/tables/sample-plan.dxf
                        ${WORK_DIR}/tables/named.stb -o ${WORK_DIR}/plan.png
                COMMAND_ERROR_IS_FATAL ANY)
# The window commands find the program's GUI module and the plug-in below the prefix.
execute_process(COMMAND ${prefix}/bin/pstyle snapshot ${WORK_DIR}/pictures
                OUTPUT_VARIABLE pictures COMMAND_ERROR_IS_FATAL ANY)
if(NOT pictures MATCHES "editor-lineweights.png")
    message(FATAL_ERROR "The installed pstyle pictured only:\n${pictures}")
endif()
