# Run by `cmake --install`: copies every DLL that the program and its plugins
# import, found in KVT_DLL_DIRS, beside kvt.exe. Those found nowhere there are
# Windows' own (KERNEL32, USER32 and the like).
#
# CMake gives Windows DLL names in lower case and looks them up as such; on
# Linux's case-sensitive files, so it searches a folder of lower-case links to
# the DLLs, and each DLL is then installed under its own name.
set(search "${KVT_DLL_SEARCH_DIR}")
file(REMOVE_RECURSE "${search}")
file(MAKE_DIRECTORY "${search}")
foreach(dir IN LISTS KVT_DLL_DIRS)
    file(GLOB dlls "${dir}/*.dll")
    foreach(dll IN LISTS dlls)
        get_filename_component(name "${dll}" NAME)
        string(TOLOWER "${name}" lower)
        if(NOT EXISTS "${search}/${lower}")
            file(CREATE_LINK "${dll}" "${search}/${lower}" SYMBOLIC)
        endif()
    endforeach()
endforeach()

set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${KVT_OBJDUMP}")
file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES ${KVT_EXECUTABLE}
    MODULES ${KVT_MODULES}
    DIRECTORIES "${search}"
    RESOLVED_DEPENDENCIES_VAR resolved
    UNRESOLVED_DEPENDENCIES_VAR unresolved
    PRE_EXCLUDE_REGEXES [[^api-ms-]] [[^ext-ms-]])
foreach(dll IN LISTS unresolved)
    if(dll MATCHES [[^(qt6|lib)]])
        message(FATAL_ERROR "A DLL the program needs was not found: ${dll}")
    endif()
endforeach()
foreach(dll IN LISTS resolved)
    file(REAL_PATH "${dll}" file)
    file(INSTALL "${file}" DESTINATION "${CMAKE_INSTALL_PREFIX}")
endforeach()
