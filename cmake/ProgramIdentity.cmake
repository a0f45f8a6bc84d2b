# The program's identity, as the top-level CMakeLists.txt sets it once:
# PROJECT_VERSION, KVT_APP_ID, KVT_THAI_NAME and KVT_RELEASE_DATE. The program
# reads them from programidentity.h (link kvt_program_identity); packaging/
# writes them into the desktop entry, the metadata, the Windows file
# properties, the installer and the notices.

# Windows file versions and the package names need major.minor; AppStream a
# date as yyyy-mm-dd.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "The program's version must be major.minor, not ${PROJECT_VERSION}")
endif()
if(NOT KVT_RELEASE_DATE MATCHES "^[0-9][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9]$")
    message(FATAL_ERROR "KVT_RELEASE_DATE must be yyyy-mm-dd, not ${KVT_RELEASE_DATE}")
endif()
if(NOT KVT_APP_ID MATCHES "^[A-Za-z][A-Za-z0-9_-]*(\\.[A-Za-z][A-Za-z0-9_-]*)+$")
    message(FATAL_ERROR "KVT_APP_ID must be a reverse domain name, not ${KVT_APP_ID}")
endif()

# As C++ string literal contents: backslashes and double quotes escaped.
string(REPLACE "\\" "\\\\" KVT_CXX_THAI_NAME "${KVT_THAI_NAME}")
string(REPLACE "\"" "\\\"" KVT_CXX_THAI_NAME "${KVT_CXX_THAI_NAME}")

# A folder of its own, so that only those who link the target see the header.
configure_file(${CMAKE_CURRENT_LIST_DIR}/programidentity.h.in
    ${CMAKE_BINARY_DIR}/generated/identity/programidentity.h @ONLY)

add_library(kvt_program_identity INTERFACE)
target_include_directories(kvt_program_identity INTERFACE ${CMAKE_BINARY_DIR}/generated/identity)
