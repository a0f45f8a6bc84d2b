# Tests of a Windows build run on Linux under wine: every test executable is
# started through wine-run.sh, which finds the Qt and compiler DLLs here.
get_target_property(_kvt_qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT _kvt_qt_core)
    get_target_property(_kvt_qt_core Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(KVT_WINE_QT_BIN "${_kvt_qt_core}" DIRECTORY)
get_filename_component(KVT_WINE_QT_PLUGINS "${KVT_WINE_QT_BIN}/../plugins" ABSOLUTE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE _kvt_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(KVT_WINE_GCC_DLLS "${_kvt_libstdcxx}" DIRECTORY)
set(KVT_WINE_MINGW_DLLS "${CMAKE_FIND_ROOT_PATH}/lib")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

# The tests run in two lanes side by side, each on its own display with its
# own wine prefix (build.sh starts both), one test at a time in each: two
# tests' windows on one display would take each other's focus and share its
# clipboard.
function(kvt_wine_lane test lane)
    set_tests_properties(${test} PROPERTIES
        RESOURCE_LOCK wine_${lane}
        ENVIRONMENT_MODIFICATION "KVT_WINE_LANE=set:${lane}")
endfunction()

# School PCs, each in a wine prefix of its own (wine-run.sh makes it): the Thai
# system locale at 100, 125 and 150 % display scale, each PC in one lane.
set(KVT_WINE_SCHOOL_PCS th-100=side th-125=main th-150=side)

# Runs a test once more on each school PC, or on the PCs named after it.
function(kvt_wine_school_pcs test)
    set(pcs ${ARGN})
    if(NOT pcs)
        set(pcs ${KVT_WINE_SCHOOL_PCS})
    endif()
    foreach(entry IN LISTS pcs)
        string(REPLACE "=" ";" entry "${entry}")
        list(GET entry 0 pc)
        list(GET entry 1 lane)
        add_test(NAME ${test}@${pc} COMMAND ${test})
        kvt_wine_lane(${test}@${pc} ${lane})
        set_property(TEST ${test}@${pc} APPEND PROPERTY ENVIRONMENT_MODIFICATION "KVT_WINE_PC=set:${pc}")
    endforeach()
endfunction()
