# quillmark_library(NAME FOLDER [DEPS ...]): one static library from every source in a folder of src/
# (a main.cpp stays out: it belongs to the executable). Sources are found by glob, so adding a class
# never means editing a list.
function(quillmark_library name folder)
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp
        ${CMAKE_SOURCE_DIR}/src/${folder}/*.h)
    list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src/${folder})
    target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()
