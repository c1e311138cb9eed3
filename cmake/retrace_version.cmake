# The version the program's resources carry (res/version.rc), the one place
# it is written: RETRACE_VERSION (1.0.0.0) and RETRACE_VERSION_SHORT (1.0).
file(STRINGS ${PROJECT_SOURCE_DIR}/res/version.rc productVersion REGEX "VALUE \"ProductVersion\"")
string(REGEX MATCH "([0-9]+)\\.([0-9]+)\\.[0-9]+\\.[0-9]+" RETRACE_VERSION "${productVersion}")
if(NOT RETRACE_VERSION)
    message(FATAL_ERROR "res/version.rc names no ProductVersion of four numbers")
endif()
set(RETRACE_VERSION_SHORT ${CMAKE_MATCH_1}.${CMAKE_MATCH_2})
