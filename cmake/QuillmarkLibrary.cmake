# quillmark_library(NAME SOURCES file... [PUBLIC lib...] [PRIVATE lib...]): one static library of the
# listed sources. Every target includes headers by their folder under src/ ("rtf/RtfReader.h",
# "forms/ui_frmMain.h"), so the folders, and through them the layers, show in every include; each
# target names the libraries whose headers it includes, PUBLIC where its own headers include them.
function(quillmark_target_includes target)
    target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/src)
endfunction()

function(quillmark_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;PUBLIC;PRIVATE")
    add_library(${name} STATIC ${arg_SOURCES})
    quillmark_target_includes(${name})
    target_link_libraries(${name} PUBLIC ${arg_PUBLIC} PRIVATE ${arg_PRIVATE})
endfunction()
