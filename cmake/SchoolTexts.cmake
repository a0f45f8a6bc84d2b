# The texts that name the school running the program. The defaults name no
# real school or person; a school sets its own at configure time, for example
#   cmake --preset default -DKVT_SCHOOL_NAME="โรงเรียน..."
# The boxes on the screens are small: keep each text about as long as its
# default (README: "School texts").

set(KVT_SCHOOL_NAME "โรงเรียนตัวอย่างวิทยา"
    CACHE STRING "The school that made and runs the program")
set(KVT_SCHOOL_DISTRICT "อ.เมืองตัวอย่าง"
    CACHE STRING "The school's district")
set(KVT_SCHOOL_PROVINCE "จ.ตัวอย่าง"
    CACHE STRING "The school's province")
set(KVT_SCHOOL_DIVISION "สพป.ตัวอย่าง เขต 1"
    CACHE STRING "The school's administrative division (welcome screen)")
set(KVT_SCHOOL_SHORT_NAME "ร.ร.ตัวอย่างวิทยา"
    CACHE STRING "Short name at the end of the front side's window caption and in its credit line")
set(KVT_OWNERSHIP_STATEMENT ""
    CACHE STRING "Statement that the program belongs to the school (welcome screen); empty: เป็นลิขสิทธิ์ของ followed by the school, district and province")
set(KVT_DEVELOPER "ครูสมมติ ตัวอย่าง"
    CACHE STRING "Title and name of the developer, shown after พัฒนาโดย")
set(KVT_WEB_ADDRESS_1 "www.example.org"
    CACHE STRING "First web address on the welcome screen")
set(KVT_WEB_ADDRESS_2 "www.example.com"
    CACHE STRING "Second web address on the welcome screen")

if(KVT_OWNERSHIP_STATEMENT STREQUAL "")
    set(_kvt_ownership "เป็นลิขสิทธิ์ของ${KVT_SCHOOL_NAME} ${KVT_SCHOOL_DISTRICT} ${KVT_SCHOOL_PROVINCE}")
else()
    set(_kvt_ownership "${KVT_OWNERSHIP_STATEMENT}")
endif()

# As C++ string literal contents: backslashes and double quotes escaped.
foreach(_kvt_text IN ITEMS SCHOOL_NAME SCHOOL_DISTRICT SCHOOL_PROVINCE SCHOOL_DIVISION SCHOOL_SHORT_NAME
        DEVELOPER WEB_ADDRESS_1 WEB_ADDRESS_2 OWNERSHIP)
    if(_kvt_text STREQUAL "OWNERSHIP")
        set(_kvt_value "${_kvt_ownership}")
    else()
        set(_kvt_value "${KVT_${_kvt_text}}")
    endif()
    string(REPLACE "\\" "\\\\" _kvt_value "${_kvt_value}")
    string(REPLACE "\"" "\\\"" _kvt_value "${_kvt_value}")
    set(KVT_CXX_${_kvt_text} "${_kvt_value}")
endforeach()

configure_file(${CMAKE_CURRENT_LIST_DIR}/schooltexts.h.in
    ${CMAKE_BINARY_DIR}/generated/schooltexts.h @ONLY)

# The header for those who show the texts: link kvt_school_texts.
add_library(kvt_school_texts INTERFACE)
target_include_directories(kvt_school_texts INTERFACE ${CMAKE_BINARY_DIR}/generated)
