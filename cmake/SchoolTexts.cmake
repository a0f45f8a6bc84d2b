# The texts that name the school running the program. The defaults name no
# real school or person; a school sets its own at configure time, for example
#   cmake --preset default -DKVT_SCHOOL_NAME="โรงเรียน..."
# Values are placed inside C++ string literals: do not use double quotes or
# backslashes in them.

set(KVT_SCHOOL_NAME "โรงเรียนตัวอย่างวิทยา"
    CACHE STRING "The school that made and runs the program")
set(KVT_SCHOOL_DISTRICT "อำเภอเมือง"
    CACHE STRING "The school's district")
set(KVT_SCHOOL_PROVINCE "จังหวัดตัวอย่าง"
    CACHE STRING "The school's province")
set(KVT_SCHOOL_DIVISION "สำนักงานเขตพื้นที่การศึกษาตัวอย่าง"
    CACHE STRING "The school's administrative division (welcome screen)")
set(KVT_SCHOOL_SHORT_NAME "ร.ร.ตัวอย่างวิทยา"
    CACHE STRING "Short name at the end of the front side's window caption and in its credit line")
set(KVT_OWNERSHIP_STATEMENT "เป็นลิขสิทธิ์ของโรงเรียนตัวอย่างวิทยา อำเภอเมือง จังหวัดตัวอย่าง"
    CACHE STRING "Statement that the program belongs to the school (welcome screen)")
set(KVT_DEVELOPER "ครูผู้พัฒนาโปรแกรม"
    CACHE STRING "Title and name of the developer, shown after พัฒนาโดย")
set(KVT_WEB_ADDRESS_1 "www.example.org"
    CACHE STRING "First web address on the welcome screen")
set(KVT_WEB_ADDRESS_2 "www.example.com"
    CACHE STRING "Second web address on the welcome screen")

configure_file(${CMAKE_CURRENT_LIST_DIR}/schooltexts.h.in
    ${CMAKE_BINARY_DIR}/generated/schooltexts.h @ONLY)
