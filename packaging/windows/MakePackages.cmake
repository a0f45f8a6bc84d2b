# Makes the Windows packages from a built tree, run by the target
# windows_packages: the program folder that `cmake --install` puts together,
# the portable zip of it, the installer, and SHA256SUMS listing both.
# Defined by the target: BINARY_DIR, NAME (kvt-<version>), VERSION, STRIP,
# MAKENSIS, NSIS_SCRIPT, INSTALL_LIST, UNINSTALL_LIST, PYTHON, CHECK_EXE.

function(run)
    execute_process(COMMAND ${ARGN} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

# A path in the folder as Windows writes it, with backslashes.
function(windows_path out path)
    string(REPLACE "/" "\\" path "${path}")
    set(${out} "${path}" PARENT_SCOPE)
endfunction()

set(stage "${BINARY_DIR}/stage")
set(folder "${stage}/${NAME}")
set(zip_file "${BINARY_DIR}/${NAME}-windows-x64.zip")
set(setup_file "${BINARY_DIR}/${NAME}-setup.exe")

message(STATUS "Program folder: ${folder}")
file(REMOVE_RECURSE "${stage}")
run("${CMAKE_COMMAND}" --install "${BINARY_DIR}" --prefix "${folder}" --strip)
# --strip strips the program only; the DLLs beside it carry their symbols.
file(GLOB_RECURSE dlls "${folder}/*.dll")
run("${STRIP}" --strip-unneeded ${dlls})
run("${PYTHON}" "${CHECK_EXE}" "${folder}/kvt.exe" "${VERSION}")

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${folder}" "${folder}/*")
list(SORT files)
set(size 0)
foreach(file IN LISTS files)
    # Names any unzip tool reads alike, whatever the PC's code page.
    if(NOT file MATCHES "^[ -~]+$")
        message(FATAL_ERROR "Every file name in the program folder must be ASCII: ${file}")
    endif()
    file(SIZE "${folder}/${file}" file_size)
    math(EXPR size "${size} + ${file_size}")
endforeach()
list(LENGTH files count)
math(EXPR size_kb "(${size} + 1023) / 1024")
message(STATUS "${count} files, ${size_kb} KB")

message(STATUS "Portable zip: ${zip_file}")
file(REMOVE "${zip_file}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${zip_file}" --format=zip "${NAME}"
    WORKING_DIRECTORY "${stage}" COMMAND_ERROR_IS_FATAL ANY)

# The installer's file lists: File lines that install each file in its
# sub-folder, then Delete and RMDir lines that remove exactly those again.
# Each file's folder, "." for the program folder itself (a list keeps no "").
function(folder_of out file)
    get_filename_component(dir "${file}" DIRECTORY)
    if(NOT dir)
        set(dir .)
    endif()
    set(${out} "${dir}" PARENT_SCOPE)
endfunction()

set(dirs .)
foreach(file IN LISTS files)
    folder_of(dir "${file}")
    while(NOT dir STREQUAL .)
        list(APPEND dirs "${dir}")
        folder_of(dir "${dir}")
    endwhile()
endforeach()
list(REMOVE_DUPLICATES dirs)
list(SORT dirs)
set(install_lines "")
set(uninstall_lines "")
foreach(dir IN LISTS dirs)
    if(NOT dir STREQUAL .)
        windows_path(win_dir "${dir}")
        string(APPEND install_lines "SetOutPath \"$INSTDIR\\${win_dir}\"\n")
    else()
        string(APPEND install_lines "SetOutPath \"$INSTDIR\"\n")
    endif()
    foreach(file IN LISTS files)
        folder_of(file_dir "${file}")
        if(file_dir STREQUAL dir)
            windows_path(win_file "${file}")
            string(APPEND install_lines "File \"${folder}/${file}\"\n")
            string(APPEND uninstall_lines "Delete \"$INSTDIR\\${win_file}\"\n")
        endif()
    endforeach()
endforeach()
string(APPEND install_lines "SetOutPath \"$INSTDIR\"\n")
# Folders deepest first, so that each is empty when it goes.
list(SORT dirs ORDER DESCENDING)
foreach(dir IN LISTS dirs)
    if(NOT dir STREQUAL .)
        windows_path(win_dir "${dir}")
        string(APPEND uninstall_lines "RMDir \"$INSTDIR\\${win_dir}\"\n")
    endif()
endforeach()
file(WRITE "${INSTALL_LIST}" "${install_lines}")
file(WRITE "${UNINSTALL_LIST}" "${uninstall_lines}")

message(STATUS "Installer: ${setup_file}")
run("${MAKENSIS}" -V2 -INPUTCHARSET UTF8 "-DESTIMATED_SIZE_KB=${size_kb}" "${NSIS_SCRIPT}")
run("${PYTHON}" "${CHECK_EXE}" "${setup_file}" "${VERSION}")

# For the school's IT staff to check what they deploy: sha256sum -c SHA256SUMS
set(sums "")
foreach(package IN ITEMS "${setup_file}" "${zip_file}")
    file(SHA256 "${package}" hash)
    get_filename_component(package_name "${package}" NAME)
    string(APPEND sums "${hash}  ${package_name}\n")
endforeach()
file(WRITE "${BINARY_DIR}/SHA256SUMS" "${sums}")
message(STATUS "SHA256SUMS:\n${sums}")
