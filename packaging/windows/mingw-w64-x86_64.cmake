# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads).
# Used both to build Qt for Windows and to build the program against it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KVT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KVT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KVT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KVT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KVT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# BOTH, not ONLY: a cross build of Qt needs the host Qt's tools package too.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# A Qt for Windows needs the host's Qt for its tools (moc, uic, rcc); Debian
# keeps the host's CMake packages in its multiarch library folder.
if(NOT QT_HOST_PATH)
    set(QT_HOST_PATH /usr)
endif()
if(NOT QT_HOST_PATH_CMAKE_DIR)
    file(GLOB _kvt_host_qt_config /usr/lib/*/cmake/Qt6/Qt6Config.cmake)
    if(_kvt_host_qt_config)
        list(GET _kvt_host_qt_config 0 _kvt_host_qt_config)
        get_filename_component(QT_HOST_PATH_CMAKE_DIR "${_kvt_host_qt_config}" DIRECTORY)
        get_filename_component(QT_HOST_PATH_CMAKE_DIR "${QT_HOST_PATH_CMAKE_DIR}" DIRECTORY)
    endif()
endif()

# SQLite for Windows, a static library (build-sqlite.sh), lies outside the
# find root: name its files so that find_package(SQLite3) takes them as they are.
if(NOT KVT_SQLITE_WINDOWS AND DEFINED ENV{KVT_SQLITE_WINDOWS})
    set(KVT_SQLITE_WINDOWS "$ENV{KVT_SQLITE_WINDOWS}")
endif()
if(KVT_SQLITE_WINDOWS AND NOT SQLite3_LIBRARY)
    set(SQLite3_INCLUDE_DIR "${KVT_SQLITE_WINDOWS}/include" CACHE PATH "SQLite for Windows: sqlite3.h")
    set(SQLite3_LIBRARY "${KVT_SQLITE_WINDOWS}/lib/libsqlite3.a" CACHE FILEPATH "SQLite for Windows: static library")
endif()
