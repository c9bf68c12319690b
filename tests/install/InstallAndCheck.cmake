# Installs the build into an empty prefix, checks the tree, and runs the installed data checker
# with no arguments: it must find the installed catalogue (../share/kelmora) and report nothing.
# Arguments: BUILD_DIR, WORK_DIR, APP_ID.

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/config)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()

set(expected
    bin/kelmora
    bin/kelmora-datacheck
    share/kelmora/BureauPref.pfd
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/man/man1/kelmora.1.gz
    share/man/man1/kelmora-datacheck.1.gz
    share/doc/kelmora/copyright
    share/doc/kelmora/changelog.gz)
foreach(size ${ICON_SIZES})
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(file ${expected})
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
file(GLOB_RECURSE variety_files RELATIVE ${prefix}/share/kelmora/Data ${prefix}/share/kelmora/Data/*)
list(LENGTH variety_files count)
if(NOT count EQUAL 47)
    message(FATAL_ERROR "${count} variety files installed instead of 47: ${variety_files}")
endif()
foreach(file ${variety_files})
    string(SUBSTRING "${file}" 0 2 region)
    if(NOT file MATCHES "^[0-9][0-9]/[0-9][0-9][0-9][0-9]\\.vdx$" OR NOT file MATCHES "^${region}/${region}")
        message(FATAL_ERROR "unexpected file in share/kelmora/Data: ${file}")
    endif()
endforeach()

# The icons are drawn at their own size.
foreach(size ${ICON_SIZES})
    file(READ ${prefix}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 32 16 dimensions)
    math(EXPR expected_dimensions "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${expected_dimensions}" 2 -1 hex)
    string(LENGTH "${hex}" length)
    math(EXPR pad "8 - ${length}")
    string(REPEAT "0" ${pad} zeros)
    if(NOT dimensions STREQUAL "${zeros}${hex}${zeros}${hex}")
        message(FATAL_ERROR "icon ${size}x${size} has the PNG dimensions ${dimensions}")
    endif()
endforeach()

# The user's own settings must not steer the check: an empty configuration folder.
set(ENV{XDG_CONFIG_HOME} ${WORK_DIR}/config)
execute_process(COMMAND ${prefix}/bin/kelmora-datacheck
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "installed kelmora-datacheck exited with ${status}:\n${out}${err}")
endif()
string(FIND "${out}" "${prefix}/share/kelmora/Data/" at)
if(at EQUAL -1)
    message(FATAL_ERROR "installed kelmora-datacheck did not read the installed catalogue:\n${out}")
endif()

# The brand search reads the same installed catalogue.
execute_process(COMMAND ${prefix}/bin/kelmora-datacheck --find きらら397
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(FIND "${out}" "きらら397" at)
if(NOT status EQUAL 0 OR at EQUAL -1)
    message(FATAL_ERROR "installed kelmora-datacheck --find exited with ${status}:\n${out}${err}")
endif()

# Alone in a folder, the checker names every place it looked for the region table.
file(MAKE_DIRECTORY ${WORK_DIR}/alone)
file(COPY ${prefix}/bin/kelmora-datacheck DESTINATION ${WORK_DIR}/alone)
execute_process(COMMAND ${WORK_DIR}/alone/kelmora-datacheck
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(FIND "${out}" "${WORK_DIR}/alone/BureauPref.pfd" beside)
string(FIND "${out}" "${WORK_DIR}/share/kelmora/BureauPref.pfd" shared)
if(NOT status EQUAL 1 OR beside EQUAL -1 OR shared EQUAL -1)
    message(FATAL_ERROR "kelmora-datacheck alone in a folder exited with ${status} and said:\n${out}${err}")
endif()

file(REMOVE_RECURSE ${WORK_DIR})
